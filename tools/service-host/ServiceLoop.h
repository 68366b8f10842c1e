#pragma once

#include <string>

namespace httplib {
class Server;
}

namespace zm {

// Binds `server` to 127.0.0.1 at `port` (0: a free port), prints "listening on SCHEME://127.0.0.1:PORT"
// once it answers and serves until SIGINT or SIGTERM. Answers the program's exit status; errors are
// printed after `program`. Call it before any thread of the program starts, so that no thread but
// its own takes the end signals.
int serveUntilEnded(httplib::Server& server, const std::string& program, const std::string& scheme, int port);

} // namespace zm
