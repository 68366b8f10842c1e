#include "platform/ui/ShareSheet.h"

#include "platform/ui/Pasteboard.h"
#include "platform/ui/StandInSheet.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Toolbar.h"

namespace ui {

std::shared_ptr<ShareSheet> ShareSheet::create(std::string text) {
    return std::shared_ptr<ShareSheet>(new ShareSheet(std::move(text)));
}

void ShareSheet::loadView() {
    const std::weak_ptr<ShareSheet> self = std::static_pointer_cast<ShareSheet>(shared_from_this());
    auto root = makeStandInSheet(
        "Copy",
        [self] {
            if (const auto sheet = self.lock())
                sheet->cancel();
        },
        [self] {
            if (const auto sheet = self.lock())
                sheet->copy();
        });
    auto shown = TextView::create(
        {0, Toolbar::kHeight, kStandInSheetSize.width, kStandInSheetSize.height - Toolbar::kHeight});
    shown->setEditable(false);
    shown->setText(m_text);
    shown->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    root->addSubview(shown);
    setView(std::move(root));
}

void ShareSheet::copy() {
    Pasteboard::general().setString(m_text);
    finish(true);
}

void ShareSheet::cancel() {
    finish(false);
}

void ShareSheet::finish(bool copied) {
    const std::shared_ptr<ViewController> keep = shared_from_this();
    dismissViewController(true);
    if (m_completion)
        m_completion(copied);
}

} // namespace ui
