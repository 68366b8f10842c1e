#pragma once

#include "platform/core/Result.h"
#include "tools/service-host/ServiceCommandLine.h"

#include <string>
#include <vector>

namespace zm {

// The command line of crash-service:
//   crash-service [--port N] [--database FILE] [--certificate PEM --key PEM]
//       answers on 127.0.0.1 at port N (0 or none: a free port), over HTTPS when given a certificate
//       and its key, keeping what it receives in FILE (none: in memory); prints
//       "listening on SCHEME://127.0.0.1:PORT" once it answers.
//   crash-service --database FILE --list
//       prints what FILE holds, as JSON.
struct CrashServiceOptions : ServiceCommandLine {
    std::string certificate;
    std::string key;

    bool secure() const { return !certificate.empty(); }

    static core::Result<CrashServiceOptions> parse(const std::vector<std::string>& arguments);
    static const char* usage();
};

} // namespace zm
