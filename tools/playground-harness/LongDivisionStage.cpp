#include "tools/playground-harness/LongDivisionStage.h"

#include "longdivision/LDPlaygroundMain.h"
#include "longdivision/LDPlaygroundView.h"
#include "platform/core/FileLocations.h"
#include "platform/host/ScriptPlayer.h"
#include "platform/ui/Application.h"
#include "platform/ui/BundleImages.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/Device.h"
#include "platform/ui/InterfaceFile.h"
#include "platform/ui/Slider.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <ostream>

namespace zm {

namespace {

core::Error noPart(const std::string& what) {
    return {"Harness", 6, "no " + what + " on the screen", {}};
}

// How much larger a number is shown while it is held.
constexpr float kHeldScale = 1.2f;

core::Point middleOf(const core::Rect& box) {
    return {box.midX(), box.midY()};
}

// The quotient's digits with its point where the division has put it ("24.6"; "0" before any row).
std::string quotientText(const ExprViewSoloistDigits* quotient) {
    if (!quotient)
        return "0";
    std::string digits;
    for (const auto& digit : quotient->digitViews())
        digits += std::to_string(digit->solo()->coef());
    size_t point = quotient->dotPosition() == ExprViewSoloistDigits::kNoDot || quotient->hideDotView()
                       ? digits.size()
                       : std::min<size_t>(quotient->dotPosition(), digits.size());
    const size_t zeros = std::min(digits.find_first_not_of('0'), point == 0 ? 0 : point - 1);
    digits.erase(0, zeros);
    point -= zeros;
    if (point == 0)
        digits.insert(0, "0"), ++point;
    return point < digits.size() ? digits.insert(point, ".") : digits;
}

} // namespace

core::Result<std::shared_ptr<LongDivisionStage>> LongDivisionStage::create(ui::Application& application,
                                                                           std::shared_ptr<ExprLongDivision> division,
                                                                           bool demoMode, std::ostream& log) {
    registerLongDivisionClasses(ui::ClassRegistry::shared());
    ui::InterfaceLoader::setShared({core::FileLocations::shared().resources / "interface",
                                    ui::Device::current().idiom, &ui::bundleImages()});
    auto controller = ui::ViewController::create();
    controller->setNibName("LDPlaygroundView");
    auto view = std::dynamic_pointer_cast<LDPlaygroundView>(controller->view());
    if (!view)
        return core::Error{"Harness", 7, "the interface file LDPlaygroundView holds no long-division view", {}};
    std::shared_ptr<LongDivisionStage> stage(new LongDivisionStage(log));
    stage->m_view = view;
    stage->m_division = division;
    ui::Window& window = application.window();
    view->setFrame(window.bounds());
    window.addSubview(view);
    view->setPlayDelegate(stage);
    view->setNewProblem(division, demoMode);
    if (view->playgroundMain())
        view->playgroundMain()->setDelegate(stage);
    log << "start: " << division->description() << std::endl;
    stage->logState();
    return stage;
}

std::string LongDivisionStage::text() const {
    const LDPlaygroundMain* main = m_view->playgroundMain().get();
    std::string state = "working";
    if (m_solved)
        state = "solved";
    else if (main && main->problemState() == LDProblemStateFindingPattern)
        state = "finding pattern";
    else if (main && main->remainderMode())
        state = "remainder mode";
    else if (main && main->decimalMode())
        state = "decimal mode";
    const ExprViewSoloistDigits* quotient =
        main && main->longDivisionExprView() ? main->longDivisionExprView()->answerView().get() : nullptr;
    return "quotient " + quotientText(quotient) + ", remainder " + std::to_string(m_division->remainder()->coef()) +
           ", " + state;
}

void LongDivisionStage::logState() const {
    m_log << "  " << text() << std::endl;
}

// Targets name the parts of the division: "@divisor"; "@dividend#K" and "@quotient#K", digit K;
// "@working", the last row's working number (picked up as the remainder); and where a dragged number
// must be let go, the finger half its height below it: "@before", the divisor on the line of the
// working digits (the dividend's before the first row, then the last row's), left of them; "@cover#K",
// the divisor over the working digits 1 to K, clear of the next; "@drop", a dividend digit in the slot
// right of the last row's working number; "@slot", the remainder right of the "r". A chooser's
// buttons go by their titles ("@+", "@-", "@✓") and "@slider#V" is where the slider's thumb stands at
// V per cent.
core::Result<core::Point> LongDivisionStage::resolve(const host::ScriptTarget& target) const {
    if (target.point)
        return *target.point;
    const LDPlaygroundMain* main = m_view->playgroundMain().get();
    if (!main || !main->longDivisionExprView())
        return noPart("long division");
    const ExprViewLongDivision& head = *main->longDivisionExprView();
    const auto& rows = main->segmentViews();
    const size_t index = size_t(target.occurrence - 1);
    auto digitOf = [&](const ExprViewSoloistDigits* number, const char* what) -> core::Result<core::Point> {
        if (!number || index >= number->digitViews().size())
            return noPart(std::string(what) + " digit " + std::to_string(target.occurrence));
        return middleOf(number->digitViews()[index]->getHitbox());
    };
    // A dragged number is shown enlarged, riding half its height above the finger.
    auto fingerUnder = [](core::Point center, float height) {
        return core::Point{center.x, center.y + kHeldScale * height / 2};
    };
    const core::Rect divisor = head.denominatorView()->getHitbox();
    const float heldWidth = kHeldScale * divisor.width();
    const ExprViewSoloistDigits& working = rows.empty() ? *head.numeratorView() : rows.back()->workingView();

    if (target.text == "divisor")
        return middleOf(divisor);
    if (target.text == "dividend")
        return digitOf(head.numeratorView().get(), "dividend");
    if (target.text == "quotient")
        return digitOf(head.answerView().get(), "quotient");
    if (target.text == "working") {
        if (rows.empty())
            return noPart("row");
        return middleOf(working.getHitbox());
    }
    if (target.text == "before") {
        const core::Rect first = working.digitViews().front()->getHitbox();
        return fingerUnder({first.minX() - heldWidth, first.midY()}, divisor.height());
    }
    if (target.text == "cover") {
        const auto& digits = working.digitViews();
        if (index >= digits.size())
            return noPart("working digit " + std::to_string(target.occurrence));
        const core::Rect last = digits[index]->getHitbox();
        float x = last.midX();
        if (index + 1 < digits.size())
            x = std::min(x, digits[index + 1]->getHitbox().minX() - 2 - heldWidth / 2);
        return fingerUnder({x, last.midY()}, divisor.height());
    }
    if (target.text == "drop") {
        if (rows.empty())
            return noPart("row");
        const core::Rect slot = working.getHitbox();
        const float digitHeight = head.numeratorView()->getHeight();
        return fingerUnder({slot.maxX() + slot.width() / 2, slot.midY()}, digitHeight);
    }
    if (target.text == "slot") {
        const core::Rect label = head.remainderLabel()->getHitbox();
        const float height = rows.empty() ? 0 : working.getHeight();
        return fingerUnder({label.maxX() + label.width() / 2, label.midY()}, height);
    }
    if (target.text == "slider") {
        for (const std::shared_ptr<ui::View>& view : m_view->subviews()) {
            if (auto slider = std::dynamic_pointer_cast<ui::Slider>(view)) {
                // Where the thumb stands at that value (the thumb's own width short of the ends).
                const core::Rect frame = slider->frame();
                const float radius = slider->thumbRect().width() / 2;
                const float share = float(target.occurrence) / 100;
                return core::Point{frame.minX() + radius + share * (frame.width() - 2 * radius), frame.midY()};
            }
        }
        return noPart("slider");
    }
    return host::resolveViewTarget(*m_view, target);
}

void LongDivisionStage::note(const char* what) const {
    m_log << "  " << what << std::endl;
}

void LongDivisionStage::showComplete() {
    m_solved = true;
    note("showComplete");
}

void LongDivisionStage::didErrorStep() {
    note("refused");
}

void LongDivisionStage::draggedOver() {
    note("draggedOver");
}

void LongDivisionStage::droppedDigit() {
    note("droppedDigit");
}

void LongDivisionStage::droppedRemainder() {
    note("droppedRemainder");
}

void LongDivisionStage::foundPattern() {
    note("foundPattern");
}

void LongDivisionStage::foundMultiple() {
    note("foundMultiple");
}

void LongDivisionStage::foundInitialDecimal() {
    note("foundInitialDecimal");
}

} // namespace zm
