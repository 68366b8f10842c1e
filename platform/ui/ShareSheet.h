#pragma once

#include "platform/ui/ViewController.h"

#include <functional>
#include <string>

namespace ui {

// A screen that offers a text for sharing: it shows the text with Copy and Cancel buttons; Copy puts
// it on the clipboard (Pasteboard::general). Either button dismisses the screen, and the completion
// hears whether the text was copied.
class ShareSheet : public ViewController {
public:
    static std::shared_ptr<ShareSheet> create(std::string text);

    const std::string& text() const { return m_text; }
    void setCompletion(std::function<void(bool copied)> completion) { m_completion = std::move(completion); }

    // What the two buttons do.
    void copy();
    void cancel();

protected:
    explicit ShareSheet(std::string text)
        : m_text(std::move(text)) {}

    void loadView() override;

private:
    void finish(bool copied);

    std::string m_text;
    std::function<void(bool)> m_completion;
};

} // namespace ui
