#pragma once

#include "platform/core/Value.h"

#include <string>

namespace zm {

// The compact JSON text in which the analytics client stores and sends event arguments, batch entries
// and key lists. Strings are escaped byte by byte: backspace, tab, line feed, form feed, carriage
// return, the double quote, the solidus and the reverse solidus get their two-character escapes, and
// every other byte (other control bytes and UTF-8 sequences included) is copied unchanged; no \u
// escape is ever written. Numbers are written bare in value position and quoted in key position;
// truth values are 1 and 0; null is null. Dictionaries keep their order. Dates and data are written
// as the text that describes them. No blanks or line breaks anywhere.

// The JSON text of `object` in value position.
std::string TMJSONStringFromObject(const core::Value& object);

// Appends the JSON text of `object` to `target`.
void TMJSONAppendObject(const core::Value& object, std::string& target, bool keyPosition = false);

} // namespace zm
