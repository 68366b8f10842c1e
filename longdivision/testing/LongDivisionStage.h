#pragma once

// Test support: a long division's head and rows on a headless playground view, placed on the grid as
// the long-division playground places them.

#include "longdivision/views/ExprViewLongDivision.h"
#include "longdivision/views/ExprViewSegment.h"
#include "playground/testing/PlaygroundStage.h"

#include <memory>

namespace zm::testing {

class LongDivisionStage : public PlaygroundStage {
public:
    explicit LongDivisionStage(ui::Idiom idiom = ui::Idiom::Tablet, float fontSize = 57)
        : PlaygroundStage(idiom) {
        playgroundView->setExpressionColor(core::Color::white());
        playgroundView->setBaseFontSize(fontSize);
    }

    // The head of `division`, shown with its top-left corner at (40, 40).
    std::shared_ptr<ExprViewLongDivision> showHead(const std::shared_ptr<ExprLongDivision>& division) {
        head = ExprViewLongDivision::create(division, *playgroundView);
        head->moveTo({40, 40}, AnchorTopLeft);
        playgroundView->showExprView(head.get());
        return head;
    }

    // A row of the model's row `index`, its partial dividend's last digit in `column`, under the head.
    std::shared_ptr<ExprViewSegment> showRow(const std::shared_ptr<ExprSegment>& segment, int32_t column, float y) {
        auto row = ExprViewSegment::create(segment, *playgroundView);
        row->moveToCenterY(y, column, *head);
        playgroundView->showExprView(row.get());
        return row;
    }

    std::shared_ptr<ExprViewSoloist> digit(int32_t value) {
        return ExprViewSoloist::create(ExprSoloist::soloWithCoef(value), *playgroundView);
    }

    std::shared_ptr<ExprViewLongDivision> head;
};

inline core::Point centerOf(const IGenericView& view) {
    const core::Rect box = view.getHitbox();
    return {box.midX(), box.midY()};
}

} // namespace zm::testing
