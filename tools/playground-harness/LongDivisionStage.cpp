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

#include <ostream>

namespace zm {

namespace {

core::Error noPart(const std::string& what) {
    return {"Harness", 6, "no " + what + " on the screen", {}};
}

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

core::Result<core::Point> LongDivisionStage::resolve(const host::ScriptTarget& target) const {
    if (target.point)
        return *target.point;
    const LDPlaygroundMain* main = m_view->playgroundMain().get();
    if (!main || !main->longDivisionExprView())
        return noPart("long division");
    const ExprViewLongDivision& head = *main->longDivisionExprView();
    const size_t index = size_t(target.occurrence - 1);
    auto digitOf = [&](const ExprViewSoloistDigits* number, const char* what) -> core::Result<core::Point> {
        if (!number || index >= number->digitViews().size())
            return noPart(std::string(what) + " digit " + std::to_string(target.occurrence));
        return middleOf(number->digitViews()[index]->getHitbox());
    };
    if (target.text == "divisor")
        return middleOf(head.denominatorView()->getHitbox());
    if (target.text == "dividend")
        return digitOf(head.numeratorView().get(), "dividend");
    if (target.text == "quotient")
        return digitOf(head.answerView().get(), "quotient");
    if (target.text == "working") {
        if (main->segmentViews().empty())
            return noPart("row");
        return middleOf(main->segmentViews().back()->workingView().getHitbox());
    }
    if (target.text == "slot") {
        const core::Rect label = head.remainderLabel()->getHitbox();
        return core::Point{label.maxX() + label.width() / 2, label.midY()};
    }
    if (target.text == "slider") {
        // "@slider#V": the slider's thumb at the value V per cent.
        for (const std::shared_ptr<ui::View>& view : m_view->subviews()) {
            if (auto slider = std::dynamic_pointer_cast<ui::Slider>(view)) {
                const core::Rect frame = slider->frame();
                return core::Point{frame.minX() + frame.width() * float(target.occurrence) / 100, frame.midY()};
            }
        }
        return noPart("slider");
    }
    // The choosers' buttons by their titles ("@+", "@-", "@✓").
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
