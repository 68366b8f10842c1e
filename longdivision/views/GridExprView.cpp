#include "longdivision/views/GridExprView.h"

#include "platform/gfx/Text.h"
#include "playground/views/Fonts.h"

#include <deque>
#include <utility>

namespace zm {

core::Size gridDigitSize(float fontSize) {
    // A resize sets one size on every view of a division; the recent sizes are enough.
    constexpr size_t kRemembered = 8;
    static std::deque<std::pair<float, core::Size>> measured;
    for (const auto& [size, digit] : measured) {
        if (size == fontSize)
            return digit;
    }
    const core::Size digit = gfx::measureText("3", fontNamed(kGeorgia, fontSize));
    measured.emplace_front(fontSize, digit);
    if (measured.size() > kRemembered)
        measured.pop_back();
    return digit;
}

void GridExprView::setBaseFontSize(float size) {
    ExprView::setBaseFontSize(size);
    const core::Size digit = gridDigitSize(size);
    m_rowHeight = float(0.8 * double(digit.height));
    m_colWidth = float(1.1 * double(digit.width));
}

} // namespace zm
