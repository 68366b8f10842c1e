#pragma once

#include "platform/core/Result.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zm {

// What every stand-in service program takes on its command line:
//   --port N        answer on 127.0.0.1 at port N (0 or none: a free port)
//   --database FILE keep what is received in FILE (none: in memory)
//   --list          print what FILE holds, as JSON, and end (needs --database)
// and the options of its own, each with one value.
struct ServiceCommandLine {
    int port = 0;
    std::string database = ":memory:";
    bool list = false;

    // Takes the value of one of a program's own options; answers what is wrong with it, or nothing.
    using OwnOption = std::function<std::optional<std::string>(const std::string& value)>;

    // Parses `arguments` into this; errors are named after `program`.
    core::Status parse(const std::string& program, const std::vector<std::string>& arguments,
                       const std::map<std::string, OwnOption>& ownOptions);
};

} // namespace zm
