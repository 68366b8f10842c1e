#pragma once

#include <string>

namespace core {
class UserDefaults;
}

namespace zm {

// The identifier of this installation, kept in the user defaults under "com.crashlog.iuuid". When it
// is missing a new UUID is stored and `created` is set; the caller synchronizes the defaults (the
// start does so once capture knows where a crash goes: the write waits for the disk).
std::string CLGInstallIdentifier(core::UserDefaults& defaults, bool* created);

} // namespace zm
