#pragma once

#include "platform/ui/Pasteboard.h"

namespace host {

// The desktop's clipboard, through SDL; the window host puts it in place while its window is open.
class SdlPasteboard : public ui::Pasteboard {
public:
    void setString(std::string text) override;
    std::string string() const override;
};

} // namespace host
