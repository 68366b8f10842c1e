#pragma once

#include "crashlog/service/CLGIcon.h"
#include "platform/core/Value.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zm {

class CLGClient;

// The executable's slices: architecture name and the UUID text of that slice, in the order given.
using CLGExecutableSlices = std::vector<std::pair<std::string, std::string>>;

// What the crash service client asks of the application each time it builds a request: it keeps no
// application facts of its own. Called on the thread that starts the request, but for
// removeInstallEventKeyForClient, which comes with the settings answer on the global queue.
class CLGClientDelegate {
public:
    virtual ~CLGClientDelegate() = default;

    virtual std::string APIKeyForClient(const CLGClient& client) = 0;
    virtual std::string bundleIdForClient(const CLGClient& client) = 0;
    virtual std::optional<std::string> applicationNameForClient(const CLGClient& client) = 0;
    virtual std::optional<std::string> bundleVersionForClient(const CLGClient& client) = 0;
    virtual std::optional<std::string> shortBundleVersionForClient(const CLGClient& client) = 0;
    // Nothing when the executable cannot be read.
    virtual std::optional<CLGExecutableSlices> executableSlicesForClient(const CLGClient& client) = 0;
    virtual std::optional<std::string> minimumSDKVersionForClient(const CLGClient& client) = 0;
    virtual std::optional<std::string> builtSDKVersionForClient(const CLGClient& client) = 0;
    // Texts cleaned of backslashes and double quotes, as they are sent unescaped.
    virtual core::Dictionary identificationDictionaryForClient(const CLGClient& client) = 0;
    // Dictionaries of texts, likewise cleaned.
    virtual core::Array eventArrayForClient(const CLGClient& client) = 0;
    // The install event reached the service: forget it.
    virtual void removeInstallEventKeyForClient(const CLGClient& client) = 0;
    virtual std::optional<CLGIcon> iconForClient(const CLGClient& client) = 0;
};

} // namespace zm
