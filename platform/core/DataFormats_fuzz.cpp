// Every reader of outside text must answer a value or an error for any bytes, never crash.
#include "platform/core/Date.h"
#include "platform/core/Encoding.h"
#include "platform/core/Json.h"
#include "platform/core/Localization.h"
#include "platform/core/NumberText.h"
#include "platform/core/PropertyList.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const core::Result<core::Value> json = core::parseJson(text); json.ok()) {
        (void)core::toJson(*json);
        (void)core::toPropertyList(*json);
    }
    if (const core::Result<core::Value> plist = core::parsePropertyList(text); plist.ok())
        (void)core::toJson(*plist);
    (void)core::parseStringsFile(text);
    (void)core::base64Decode(text);
    (void)core::percentUnescape(text);
    (void)core::Date::fromIso8601(text);
    (void)core::intValue(text);
    (void)core::doubleValue(text);
    (void)core::floatValue(text);
    return 0;
}
