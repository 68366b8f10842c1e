#include "longdivision/LDPlaygroundView.h"

#include "longdivision/LDPlaygroundMain.h"
#include "longdivision/PlaygroundBeginningDecimal.h"
#include "longdivision/PlaygroundMultiples.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/Touch.h"
#include "playground/views/GenericView.h"

namespace zm {

namespace {

constexpr float kBaseFontSize = 57;
constexpr float kRepeatingBarWidth = 100;

core::Point locationOf(const ui::TouchSet& touches, const ui::View& view) {
    return touches.empty() ? core::Point{} : touches.front()->locationInView(&view);
}

} // namespace

std::shared_ptr<LDPlaygroundView> LDPlaygroundView::create() {
    std::shared_ptr<LDPlaygroundView> view(new LDPlaygroundView);
    setUp(view);
    return view;
}

LDPlaygroundView::LDPlaygroundView()
    : PlaygroundView({}) {
    setZoomedIn(false);
    setExpressionColor(core::Color::white());
    setVeilColor(core::Color::rgba(0, 0, 0, 0.75f));
    dropDrawingView();
    setBaseFontSize(kBaseFontSize);
    resetPivotPoint();
    setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    setMultipleTouchEnabled(true);
    setExclusiveTouch(true);
    setContentMode(ui::ContentMode::Redraw);
}

void LDPlaygroundView::setMainPlayground(std::shared_ptr<PlaygroundMain> playground) {
    if (auto longDivision = std::dynamic_pointer_cast<LDPlaygroundMain>(playground))
        m_playgroundMain = std::move(longDivision);
    PlaygroundView::setMainPlayground(std::move(playground));
}

void LDPlaygroundView::setNewProblem(const std::shared_ptr<Expr>& problem, bool demoMode) {
    clear();
    enableTouchInput();
    setModalPlayground(nullptr);
    resetPivotPoint();
    const auto division = asExactly<ExprLongDivision>(problem);
    if (!division)
        return;
    auto playground = LDPlaygroundMain::create(*this);
    setMainPlayground(playground);
    playground->setDemoMode(demoMode);
    playground->setLongDivisionExpr(division);
    playground->drawInitialState();
    if (division->decimalMode())
        playground->setDecimalMode(true);
    if (division->finishedSegments() != 0)
        playground->insertSegmentsUpToNumSegment(division->finishedSegments(), false, false);
    playground->moveToFinalStateAnimated(true);
    if (division->denominatorDotPosition() != ExprLongDivision::kNone)
        showModalPlayground(PlaygroundBeginningDecimal::create(*this, playground));
    playground->checkComplete();
    const std::shared_ptr<ExprViewLongDivision>& view = playground->longDivisionExprView();
    if (division->acceptsRemainders() && division->remainder()->coef() != 0) {
        view->acceptRemainder(*ExprViewSoloist::create(division->remainder(), *this));
        showGenericView(*view->remainderLabel());
        playground->resizeToFitWithSegments(true);
        playground->moveToFinalStateAnimated(true);
    }
    if (division->answerRepeatingStartIndex() != ExprLongDivision::kNone) {
        auto bar = OpViewDivide::create(nullptr, *this);
        bar->setWidth(kRepeatingBarWidth);
        bar->setHeight(0.05f * view->numeratorView()->getHeight());
        bar->setCenter({center().x, 0});
        addSubview(bar);
        playground->setRepeatingDecimalLine(bar, division->answerRepeatingStartIndex(),
                                            division->answerRepeatingEndIndex());
        playground->resizeToFitWithSegments(true);
        playground->moveToFinalStateAnimated(true);
    }
}

void LDPlaygroundView::popModalPlayground() {
    const std::shared_ptr<Playground> modal = modalPlayground();
    if (!modal)
        return;
    if (m_playgroundMain) {
        if (const std::shared_ptr<PlaygroundDelegate> delegate = m_playgroundMain->delegate()) {
            if (isExactly<PlaygroundMultiples>(modal) && delegate->respondsTo(PlaygroundMessage::FoundMultiple))
                delegate->foundMultiple();
            if (isExactly<PlaygroundBeginningDecimal>(modal) &&
                delegate->respondsTo(PlaygroundMessage::FoundInitialDecimal))
                delegate->foundInitialDecimal();
        }
    }
    modal->clear();
    setModalPlayground(nullptr);
    clearVeil();
    if (m_playgroundMain) {
        m_playgroundMain->resizeToFitWithSegments(true);
        m_playgroundMain->moveToFinalStateAnimated(true);
        m_playgroundMain->checkComplete();
    }
}

void LDPlaygroundView::clear() {
    for (const std::shared_ptr<ui::View>& subview : std::vector(subviews()))
        subview->removeFromSuperview();
    if (modalPlayground())
        modalPlayground()->clear();
    if (mainPlayground())
        mainPlayground()->clear();
    clearVeil();
}

void LDPlaygroundView::redraw() {
    resetPivotPoint();
    clear();
    if (m_playgroundMain) {
        m_playgroundMain->drawInitialState();
        m_playgroundMain->resizeToFitWithSegments(true);
        m_playgroundMain->moveToFinalStateAnimated(false);
        m_playgroundMain->clearUpDigits();
    }
    if (const std::shared_ptr<Playground> modal = modalPlayground()) {
        showVeil();
        modal->drawInitialState();
        modal->moveToFinalStateAnimated(false);
    }
}

void LDPlaygroundView::repositionViewsAnimated(bool animated) {
    resetPivotPoint();
    if (mainPlayground())
        mainPlayground()->moveToFinalStateAnimated(animated);
    if (modalPlayground())
        modalPlayground()->moveToFinalStateAnimated(animated);
}

void LDPlaygroundView::resetPivotPoint() {
    PlaygroundView::setPivotPoint({bounds().width() * 0.5f, bounds().height() * 0.5f});
}

void LDPlaygroundView::setPivotPoint(core::Point point, bool animated) {
    PlaygroundView::setPivotPoint(point);
    if (mainPlayground())
        mainPlayground()->moveToFinalStateAnimated(animated);
    if (modalPlayground())
        modalPlayground()->moveToFinalStateAnimated(animated);
}

void LDPlaygroundView::forceMoveUpperLeft() {
    const bool closing = modalVisible();
    if (closing)
        popModalPlayground();
    if (!m_playgroundMain || !m_playgroundMain->longDivisionExprView())
        return;
    const ExprViewLongDivision& view = *m_playgroundMain->longDivisionExprView();
    m_playgroundMain->longDivisionExprView()->moveTo({10, view.denominatorView()->getHeight() / 2}, AnchorMiddleLeft);
    m_playgroundMain->dotPoleView()->removeFromSuperview();
    if (closing) {
        showGenericView(*view.denominatorView()->dotView());
        showGenericView(*view.numeratorView()->dotView());
    }
}

void LDPlaygroundView::touchesBegan(const ui::TouchSet& touches, const ui::Event&) {
    PlaygroundView::touchBegan(locationOf(touches, *this));
}

void LDPlaygroundView::touchesMoved(const ui::TouchSet& touches, const ui::Event&) {
    if (touches.size() >= 2)
        return;
    const core::Point point = locationOf(touches, *this);
    if (const std::shared_ptr<Playground> modal = modalPlayground())
        modal->touchMoved(point);
    else if (m_playgroundMain)
        m_playgroundMain->touchMoved(point);
}

void LDPlaygroundView::touchesEnded(const ui::TouchSet& touches, const ui::Event&) {
    const core::Point point = locationOf(touches, *this);
    if (const std::shared_ptr<Playground> modal = modalPlayground())
        modal->touchEnded(point);
    else if (m_playgroundMain)
        m_playgroundMain->touchEnded(point);
}

void LDPlaygroundView::touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) {
    touchesEnded(touches, event);
}

void registerLongDivisionClasses(ui::ClassRegistry& registry) {
    registry.registerClass<LDPlaygroundView, ui::View>("LDPlaygroundView", "View",
                                                       [] { return LDPlaygroundView::create(); });
}

} // namespace zm
