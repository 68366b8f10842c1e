#pragma once

#include <string_view>

namespace zm::crasher {

// One way to die, by name ("null-write", "abort", ...); false for an unknown name. Every case ends
// the process by a signal, so a call returns only for an unknown name.
bool crash(std::string_view name);

// Whether the case crashes as soon as the start call returns, before the start-up has finished.
bool crashesAtOnce(std::string_view name);

// The names of all cases, for the usage text.
const char* caseNames();

} // namespace zm::crasher
