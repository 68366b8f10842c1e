#include "crashlog/report/CLGStackFrame.h"

#include "platform/core/Format.h"

namespace zm {

CLGStackFrame CLGStackFrame::stackFrameWithAddress(uint64_t address) {
    CLGStackFrame frame;
    frame.address = address;
    return frame;
}

std::string CLGStackFrame::description() const {
    const std::string symbolText = symbol.value_or("(null)");
    if (fileName)
        return core::format("{[0x%llx] %s - %s:%u}", static_cast<unsigned long long>(address), fileName->c_str(),
                            symbolText.c_str(), lineNumber);
    return core::format("{[0x%llx + %u] %s}", static_cast<unsigned long long>(address), lineNumber,
                        symbolText.c_str());
}

} // namespace zm
