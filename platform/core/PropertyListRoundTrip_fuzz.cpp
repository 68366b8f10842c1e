// A value written as a property list reads back exactly (dates to the whole second, as the format
// keeps them), for every value the format can carry: what a parsed file holds, and texts of any
// characters XML allows (valid UTF-8 without control characters other than tab, line feed and
// carriage return) as keys and strings.
#include "platform/core/Encoding.h"
#include "platform/core/PropertyList.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// Equality in which NaN equals NaN: a stored NaN must come back as NaN.
bool same(const core::Value& x, const core::Value& y) {
    if (x.kind() != y.kind())
        return false;
    if (x.kind() == core::Value::Kind::Real && std::isnan(x.doubleValue()))
        return std::isnan(y.doubleValue());
    // The format keeps dates to the whole second: a fraction read from a file is not written back.
    if (const core::Date* date = x.asDate())
        return std::floor(date->secondsSince1970) == std::floor(y.asDate()->secondsSince1970);
    if (const core::Array* xs = x.asArray()) {
        const core::Array& ys = *y.asArray();
        return xs->size() == ys.size() && std::equal(xs->begin(), xs->end(), ys.begin(), same);
    }
    if (const core::Dictionary* xs = x.asDictionary()) {
        const core::Dictionary& ys = *y.asDictionary();
        if (xs->size() != ys.size())
            return false;
        for (const core::Dictionary::Entry& entry : xs->entries()) {
            const core::Value* other = ys.find(entry.key);
            if (!other || !same(entry.value, *other))
                return false;
        }
        return true;
    }
    return x == y;
}

void checkRoundTrip(const core::Value& value) {
    const core::Result<std::string> written = core::toPropertyList(value);
    if (!written.ok())
        return;
    const core::Result<core::Value> read = core::parsePropertyList(*written);
    if (!read.ok() || !same(*read, value))
        std::abort();
}

bool carriable(std::string_view text) {
    return core::isValidUtf8(text) && std::none_of(text.begin(), text.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return byte < 0x20 && c != '\t' && c != '\n' && c != '\r';
           });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const core::Result<core::Value> parsed = core::parsePropertyList(text); parsed.ok())
        checkRoundTrip(*parsed);

    if (carriable(text)) {
        int64_t integer = 0;
        double real = 0;
        std::memcpy(&integer, data, std::min(size, sizeof integer));
        std::memcpy(&real, data, std::min(size, sizeof real));
        const std::string string(text);
        checkRoundTrip(core::Dictionary{
            {string, core::Array{string, integer, real, core::Bytes(data, data + size), size % 2 == 0}},
            {"nested", core::Dictionary{{"text", string}}},
        });
    }
    return 0;
}
