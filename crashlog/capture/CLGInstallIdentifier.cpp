#include "crashlog/capture/CLGInstallIdentifier.h"

#include "platform/core/Digest.h"
#include "platform/core/UserDefaults.h"

namespace zm {

std::string CLGInstallIdentifier(core::UserDefaults& defaults, bool* created) {
    static constexpr std::string_view kKey = "com.crashlog.iuuid";
    if (auto existing = defaults.stringForKey(kKey)) {
        if (created)
            *created = false;
        return *existing;
    }
    std::string identifier = core::uuidString();
    defaults.setObject(identifier, kKey);
    if (created)
        *created = true;
    return identifier;
}

} // namespace zm
