#pragma once

// Test support: a long-division host view over the whole window of a headless device, a finger that
// works it, and a delegate that writes down what the view and the playground tell.

#include "longdivision/LDPlaygroundMain.h"
#include "longdivision/LDPlaygroundView.h"
#include "longdivision/PlaygroundMultiples.h"
#include "longdivision/testing/LongDivisionStage.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Button.h"
#include "platform/ui/Window.h"
#include "playground/testing/PlaygroundStage.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace zm::testing {

// Every message of the host view and of the playground, in order, by name.
class LDRecorder : public PlaygroundDelegate {
public:
    void didErrorStep() override { heard.push_back("didErrorStep"); }
    void showComplete() override { heard.push_back("showComplete"); }
    void draggedOver() override { heard.push_back("draggedOver"); }
    void droppedDigit() override { heard.push_back("droppedDigit"); }
    void droppedRemainder() override { heard.push_back("droppedRemainder"); }
    void foundPattern() override { heard.push_back("foundPattern"); }
    void foundMultiple() override { heard.push_back("foundMultiple"); }
    void foundInitialDecimal() override { heard.push_back("foundInitialDecimal"); }

    size_t count(const std::string& message) const { return size_t(std::ranges::count(heard, message)); }

    std::vector<std::string> heard;
};

class LDStage {
public:
    explicit LDStage(ui::Idiom idiom = ui::Idiom::Tablet)
        : host(ui::Device{idiom, 1}) {
        view = LDPlaygroundView::create();
        view->setFrame(host.window().bounds());
        host.window().addSubview(view);
        view->setPlayDelegate(recorder);
    }

    // Starts `text` (the text form) and lets it settle.
    std::shared_ptr<ExprLongDivision> start(const std::string& text, bool demoMode = false) {
        return start(ExprLongDivision::fromString(text), demoMode);
    }
    std::shared_ptr<ExprLongDivision> start(std::shared_ptr<ExprLongDivision> division, bool demoMode = false) {
        view->setNewProblem(division, demoMode);
        if (view->playgroundMain())
            view->playgroundMain()->setDelegate(recorder);
        host.advance(1);
        return division;
    }

    LDPlaygroundMain& main() const { return *view->playgroundMain(); }
    ExprViewLongDivision& head() const { return *main().longDivisionExprView(); }
    ExprViewSoloistDigits& dividend() const { return *head().numeratorView(); }
    ExprViewSoloistDigits& divisor() const { return *head().denominatorView(); }
    std::shared_ptr<PlaygroundMultiples> chooser() const {
        return std::dynamic_pointer_cast<PlaygroundMultiples>(view->modalPlayground());
    }
    // The quotient's number, 0 before there is one.
    int32_t quotient() const { return head().answerView() ? head().answerView()->solo()->coef() : 0; }

    // A finger from `from` to `to` in steps of a few points, a frame apart; lifted and settled unless
    // asked to stay down.
    void drag(core::Point from, core::Point to, bool lift = true) {
        host.touchDown(from);
        host.advance(kFrame);
        const float distance = std::hypot(to.x - from.x, to.y - from.y);
        const int steps = std::max(1, int(distance / 5));
        for (int step = 1; step <= steps; ++step) {
            const float share = float(step) / float(steps);
            host.touchMove({from.x + (to.x - from.x) * share, from.y + (to.y - from.y) * share});
            host.advance(kFrame);
        }
        if (lift) {
            host.touchUp(to);
            host.advance(1);
        }
    }

    // The finger's point that holds a dragged number of `height` with its centre on `center`: a dragged
    // number rides half its (enlarged) height above the finger.
    static core::Point fingerFor(core::Point center, float height) { return {center.x, center.y + 0.6f * height}; }

    // Drags the divisor along the line of `digits` from their left, so that it lights the digits
    // 0 to `last` and ends over `last` without touching the next one; lifted unless asked otherwise.
    void dragDivisorOver(const ExprViewSoloistDigits& digits, size_t last, bool lift = true) {
        const core::Rect held = divisor().getHitbox();
        const float width = 1.2f * held.width(), height = held.height();
        const auto& boxes = digits.digitViews();
        const core::Rect target = boxes[last]->getHitbox();
        float x = target.midX();
        if (last + 1 < boxes.size())
            x = std::min(x, boxes[last + 1]->getHitbox().minX() - 2 - width / 2);
        const float y = target.midY();
        const core::Point start = centerOf(divisor());
        host.touchDown(start);
        host.advance(kFrame);
        host.touchMove({start.x, start.y + 1});
        host.advance(kFrame);
        // To the line left of the digits, then along it.
        const core::Point onLine = fingerFor({boxes.front()->getHitbox().minX() - width, y}, height);
        host.touchMove(onLine);
        host.advance(kFrame);
        for (float along = onLine.x; along < x; along += 4) {
            host.touchMove({along, onLine.y});
            host.advance(kFrame);
        }
        host.touchMove({x, onLine.y});
        host.advance(kFrame);
        if (lift) {
            host.touchUp({x, onLine.y});
            host.advance(1);
        }
    }

    // Drags dividend digit `index` into the slot right of the last row's working digits.
    void bringDown(size_t index, bool lift = true) {
        const core::Rect working = main().segmentViews().back()->workingView().getHitbox();
        const core::Rect digit = dividend().digitViews()[index]->getHitbox();
        drag({digit.midX(), digit.midY()},
             fingerFor({working.maxX() + working.width() / 2, working.midY()}, 1.2f * digit.height()), lift);
    }

    // Taps the centre of a view (a chooser's button).
    void tap(const ui::View& target) {
        const core::Point point = target.superview()->convertPointToView(target.center(), &host.window());
        host.touchDown(point);
        host.advance(kFrame);
        host.touchUp(point);
        host.advance(0.5);
    }

    // Counts the open chooser up to `digit` and confirms it (its buttons' own actions, without
    // fingers).
    void choose(uint32_t digit) {
        for (uint32_t k = 0; k < digit; ++k)
            chooser()->incrementCounter();
        chooser()->hitGo();
        host.advance(1);
    }

    // The digits the divisor is dropped on: the dividend's before the first row, then the last row's
    // working number.
    const ExprViewSoloistDigits& working() const {
        return main().segmentViews().empty() ? dividend() : main().segmentViews().back()->workingView();
    }
    // A row over the working digits 0 to `last`, its digit chosen.
    void workRow(size_t last, uint32_t digit) {
        dragDivisorOver(working(), last);
        choose(digit);
    }
    // Brings the next dividend digit down.
    void bringNext() { bringDown(main().nextIndex()); }

    // Taps the middle of a quotient digit (raising or lowering it while the repeating digits are
    // marked).
    void tapQuotientDigit(size_t index) {
        const core::Rect box = head().answerView()->digitViews()[index]->getHitbox();
        const core::Point point{box.midX(), box.midY()};
        host.touchDown(point);
        host.advance(kFrame);
        host.touchUp(point);
        host.advance(0.5);
    }

    std::shared_ptr<const gfx::Image> render(const std::string& name) { return renderWindow(host, name); }

    static constexpr double kFrame = 1.0 / 60;
    host::HeadlessHost host;
    std::shared_ptr<LDPlaygroundView> view;
    std::shared_ptr<LDRecorder> recorder = std::make_shared<LDRecorder>();
};

} // namespace zm::testing
