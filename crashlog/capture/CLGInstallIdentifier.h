#pragma once

#include <string>

namespace core {
class UserDefaults;
}

namespace zm {

// The identifier of this installation, kept in the user defaults under "com.crashlog.iuuid". When it
// is missing a new UUID is stored (and synchronized) and `created` is set.
std::string CLGInstallIdentifier(core::UserDefaults& defaults, bool* created);

} // namespace zm
