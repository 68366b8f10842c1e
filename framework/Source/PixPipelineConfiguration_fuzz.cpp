// A pipeline configuration comes from a file of anyone's making: any bytes give filter descriptions or
// a refusal, never a crash.
#include "framework/Source/PixPipelineConfiguration.h"
#include "platform/core/PropertyList.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const core::Result<core::Value> plist = core::parsePropertyList(text); plist.ok())
        (void)zm::readPixPipelineConfiguration(plist.value(), zm::PixFilterRegistry::shared());
    return 0;
}
