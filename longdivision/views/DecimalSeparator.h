#pragma once

#include <optional>
#include <string>

namespace zm {

// The decimal separator the user reads numbers with: the radix character of the numeric conventions
// of the user's environment (LC_ALL, LC_NUMERIC, LANG), as the C library reads them. Read once, at
// the first use; "." when the environment names no locale the system has. Main thread only.
std::string userDecimalSeparator();
// The radix character of the C library's locale `name` ("" for the environment's); none when the
// system does not have that locale.
std::optional<std::string> decimalSeparatorOfLocale(const std::string& name);
// Replaces what the environment says, for tests and for a host that knows better; none goes back to
// the environment's.
void setUserDecimalSeparator(std::optional<std::string> separator);

} // namespace zm
