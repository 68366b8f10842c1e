#include "platform/ui/Pasteboard.h"

namespace ui {

namespace {

class MemoryPasteboard : public Pasteboard {
public:
    void setString(std::string text) override { m_text = std::move(text); }
    std::string string() const override { return m_text; }

private:
    std::string m_text;
};

std::shared_ptr<Pasteboard>& installed() {
    static std::shared_ptr<Pasteboard> pasteboard;
    return pasteboard;
}

} // namespace

Pasteboard& Pasteboard::general() {
    static MemoryPasteboard own;
    const std::shared_ptr<Pasteboard>& pasteboard = installed();
    return pasteboard ? *pasteboard : own;
}

void Pasteboard::setGeneral(std::shared_ptr<Pasteboard> pasteboard) {
    installed() = std::move(pasteboard);
}

} // namespace ui
