#pragma once

#include "platform/core/Result.h"
#include "tools/service-host/ServiceCommandLine.h"

#include <map>
#include <string>
#include <vector>

namespace zm {

// The command line of analytics-service:
//   analytics-service --account NAME:SECRET [--account ...] [--port N] [--database FILE]
//       answers on 127.0.0.1 at port N (0 or none: a free port), keeping what it receives in FILE (none:
//       in memory); prints "listening on http://127.0.0.1:PORT" once it answers.
//   analytics-service --database FILE --list
//       prints what FILE holds, as JSON.
struct ServiceOptions : ServiceCommandLine {
    std::map<std::string, std::string> secrets; // account -> secret

    static core::Result<ServiceOptions> parse(const std::vector<std::string>& arguments);
    static const char* usage();
};

} // namespace zm
