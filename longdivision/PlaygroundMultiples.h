#pragma once

#include "longdivision/model/ExprSegment.h"
#include "longdivision/views/ExprViewSegment.h"
#include "platform/core/Color.h"
#include "playground/Playground.h"

#include <cstdint>
#include <memory>

namespace ui {
class Button;
}

namespace zm {

class LDPlaygroundMain;
class LDPlaygroundView;

// The modal step that picks one quotient digit. The new row, its digit on offer (in gold) and the
// digit brought down into the row before stay above the veil; "+" and "-" count the digit from 0 to 9,
// every count rewriting the row at once (the product and the difference under it) while a copy of
// the divisor flies between the difference and the product. "✓" takes the digit when the difference
// is at least 0 and below the divisor, the largest multiple that fits; anything else, and counting past
// either end, shakes the row with the error feedback.
//
// The row it is handed is the model's own: what the counter writes into it stays. Made and shown only
// by the long-division playground; it leaves through the host's popModalPlayground. Main thread only.
class PlaygroundMultiples : public Playground {
public:
    static std::shared_ptr<PlaygroundMultiples> create(std::shared_ptr<ExprSegment> segment,
                                                       LDPlaygroundView& playgroundView);

    std::shared_ptr<LDPlaygroundView> pView() const;
    const std::shared_ptr<ExprSegment>& segment() const { return m_segment; }
    // The view of the row, made again at every count.
    const std::shared_ptr<ExprViewSegment>& segmentView() const { return m_segmentView; }
    uint32_t counter() const { return m_counter; }
    const std::shared_ptr<ui::Button>& goButton() const { return m_goButton; }
    const std::shared_ptr<ui::Button>& plusButton() const { return m_plusButton; }
    const std::shared_ptr<ui::Button>& minusButton() const { return m_minusButton; }
    // The colour of the digit on offer.
    const core::Color& goldColor() const { return m_goldColor; }

    void drawInitialState() override;
    // The digit on offer on the quotient's last place, and the buttons around it.
    void moveToPivot();
    void moveToFinalStateAnimated(bool animated) override;
    // Worked with its buttons only.
    bool touchEnded(core::Point) override { return false; }
    void clear() override;

    // Sizes the buttons for the device and puts "✓" right of the digit's column and "+" and "-" on
    // either side of the product; the digit turns gold. A "✓" past the right edge moves the whole
    // division left until the button ends 5 points inside it.
    void updateHighlights();
    // The button's size rounded down to whole points, its origin kept.
    static void validateButton(ui::Button& button);
    void incrementCounter();
    void decrementCounter();
    // Rewrites the row for the counter and lays the division out again.
    void updateCounter();
    // A copy of the divisor flies from the difference to the product, and back.
    void upAnimation();
    void downAnimation();
    // The action of "✓".
    void hitGo();
    // The error feedback and a shake of the row, which then settles back.
    void failAnimation();

private:
    PlaygroundMultiples(std::shared_ptr<ExprSegment> segment, LDPlaygroundView& playgroundView);

    std::shared_ptr<LDPlaygroundMain> mainPlayground() const;
    void flyDivisor(core::Point from, core::Point to);

    std::weak_ptr<LDPlaygroundView> m_pView;
    std::shared_ptr<ExprSegment> m_segment;
    std::shared_ptr<ExprViewSegment> m_segmentView;
    uint32_t m_counter = 0;
    std::shared_ptr<ui::Button> m_goButton;
    std::shared_ptr<ui::Button> m_plusButton;
    std::shared_ptr<ui::Button> m_minusButton;
    core::Color m_goldColor = core::Color::rgb255(253, 224, 54);
    // Set while the division is moved left for "✓": the layout that follows must not move it again.
    bool m_shiftingLeft = false;
};

} // namespace zm
