#include "playground/PlaygroundEuclideanFountain.h"

#include "model/ExprEquation.h"
#include "model/steps/StepEuclideanFountain.h"
#include "model/steps/StepReplace.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/keyboard/ExprInputViewController.h"
#include "playground/views/Baggage.h"
#include "playground/views/ExprView.h"
#include "playground/views/Fonts.h"
#include "playground/views/OpView.h"

#include <algorithm>

namespace zm {

namespace {

constexpr float kSignFontSize = 50;
// A pressed sign grows by a fifth.
constexpr float kPressedSignScale = 1.2f;
constexpr double kMoveDuration = 0.4;
constexpr ui::AnimationOptions kMoveOptions =
    ui::AnimationOptions::AllowUserInteraction | ui::AnimationOptions::BeginFromCurrentState;
// The row of the sign and the operand: how far it reaches into the "=" view, its lowest top, how far
// its sign may rise above the top edge.
constexpr float kRowOverlapBelow = 13;
constexpr float kRowOverlapAbove = 5;
constexpr float kRowMinimumY = 20;
constexpr float kSignHighestTop = -10;

void appendViews(ViewList& views, const IGenericView* view) {
    if (!view)
        return;
    for (std::shared_ptr<ui::View>& platformView : view->getViewList())
        views.push_back(std::move(platformView));
}

} // namespace

std::shared_ptr<PlaygroundEuclideanFountain>
PlaygroundEuclideanFountain::create(std::shared_ptr<ExprEquation> equation, PlaygroundMain& mainPlayground) {
    const std::shared_ptr<PlaygroundView> host = mainPlayground.playgroundView();
    if (!host)
        return nullptr;
    std::shared_ptr<PlaygroundEuclideanFountain> playground(new PlaygroundEuclideanFountain(
        *host, std::move(equation),
        std::static_pointer_cast<PlaygroundMain>(mainPlayground.weak_from_this().lock())));
    playground->configureViews();
    return playground;
}

PlaygroundEuclideanFountain::PlaygroundEuclideanFountain(
    PlaygroundView& playgroundView, std::shared_ptr<ExprEquation> equation,
    const std::shared_ptr<PlaygroundMain>& mainPlayground)
    : Playground(playgroundView)
    , m_equation(std::move(equation))
    , m_mainPlayground(mainPlayground) {}

// The keyboard never outlives the playground it types for: the host may drop the playground for a new
// problem while the keyboard is up.
PlaygroundEuclideanFountain::~PlaygroundEuclideanFountain() {
    if (const std::shared_ptr<ExprInputViewController> keyboard = m_keyboard.lock())
        keyboard->hitCancel();
}

std::shared_ptr<ExprView> PlaygroundEuclideanFountain::mainExprView() const {
    const std::shared_ptr<PlaygroundMain> main = mainPlayground();
    return main ? main->mainExprView() : nullptr;
}

void PlaygroundEuclideanFountain::configureViews() {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    const std::shared_ptr<ExprView> main = mainExprView();
    if (!host || !main || !m_equation)
        return;
    const std::shared_ptr<IGenericView> equals = main->viewWithOp(m_equation->op().get());
    if (!equals)
        return;
    m_equalsView = OpView::create<OpViewEquals>(m_equation->op(), *host);
    m_equalsView->moveTo(equals->getPointAtPosition(AnchorCenter), AnchorCenter);

    const gfx::Font font = fontNamed(kGeorgia, kSignFontSize);
    m_plusView = GenericLabel::create("+", font);
    m_timesView = GenericLabel::create("*", font);
    m_divideView = GenericLabel::create("÷", font);
    m_operatorViews = {m_plusView, m_timesView, m_divideView};
    for (const std::shared_ptr<GenericLabel>& sign : m_operatorViews) {
        sign->setColor(host->expressionColor());
        sign->setFontSize(host->baseFontSize(), false);
        sign->moveTo(m_equalsView->getPointAtPosition(AnchorCenter), AnchorCenter);
    }
}

void PlaygroundEuclideanFountain::positionOperators() {
    if (m_operatorViews.size() < 3 || !m_equalsView)
        return;
    const std::shared_ptr<ExprView> main = mainExprView();
    const float space = main ? main->space() : 0;
    m_plusView->moveTo(m_equalsView->getPointAtPosition(AnchorTopLeft), AnchorMiddleRight);
    const core::Point bottom = m_equalsView->getPointAtPosition(AnchorBottomCenter);
    m_divideView->moveTo({bottom.x, bottom.y + 2 * space}, AnchorCenter);
    const core::Point topRight = m_equalsView->getPointAtPosition(AnchorTopRight);
    m_timesView->moveTo({topRight.x, topRight.y + 2 * space}, AnchorMiddleLeft);
}

std::shared_ptr<GenericLabel> PlaygroundEuclideanFountain::signAt(core::Point point) const {
    if (m_state == kTypingOperand)
        return m_chosenOpView && m_chosenOpView->containsPoint(point) ? m_chosenOpView : nullptr;
    const auto found = std::ranges::find_if(m_operatorViews, [&](const std::shared_ptr<GenericLabel>& sign) {
        return sign->containsPoint(point);
    });
    return found == m_operatorViews.end() ? nullptr : *found;
}

void PlaygroundEuclideanFountain::touchBegan(core::Point point) {
    const std::shared_ptr<Playground> keep = shared_from_this();
    if (const std::shared_ptr<GenericLabel> sign = signAt(point)) {
        // Only a sign that can still be chosen answers the finger.
        if (const std::shared_ptr<PlaygroundView> host = playgroundView();
            host && m_state == kChoosingOperation)
            sign->setFontSize(kPressedSignScale * host->baseFontSize(), false);
        return;
    }
    if (const std::shared_ptr<ExprInputViewController> keyboard = m_keyboard.lock())
        keyboard->hitCancel();
    cancelInput();
}

bool PlaygroundEuclideanFountain::touchEnded(core::Point point) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (m_state != kChoosingOperation || !host)
        return true;
    for (const std::shared_ptr<GenericLabel>& sign : m_operatorViews)
        sign->setFontSize(host->baseFontSize(), true);
    // The signs stand in the order of their arithmetic types.
    const auto chosen = std::ranges::find_if(m_operatorViews, [&](const std::shared_ptr<GenericLabel>& sign) {
        return sign->containsPoint(point);
    });
    if (chosen == m_operatorViews.end())
        return true;
    m_chosenOpView = *chosen;
    m_chosenArithType = int(chosen - m_operatorViews.begin());
    clear();
    m_state = kTypingOperand;
    drawInitialState();
    moveToFinalStateAnimated(true);
    return true;
}

void PlaygroundEuclideanFountain::drawInitialState() {
    if (m_state == kChoosingOperation) {
        drawOperatorSelectionState();
    } else if (m_state == kTypingOperand) {
        const std::shared_ptr<PlaygroundView> host = playgroundView();
        // Drawn again (the host redraws), it keeps the keyboard it has.
        if (host && !m_keyboard.lock())
            m_keyboard = host->beginInputWithInputDelegate(
                std::static_pointer_cast<PlaygroundEuclideanFountain>(shared_from_this()));
        drawInputState();
    }
}

void PlaygroundEuclideanFountain::drawOperatorSelectionState() {
    configureViews();
    showConcreteViews();
}

void PlaygroundEuclideanFountain::drawInputState() {
    if (!m_chosenOpView && m_chosenArithType >= 0 && size_t(m_chosenArithType) < m_operatorViews.size())
        m_chosenOpView = m_operatorViews[size_t(m_chosenArithType)];
    showConcreteViews();
}

void PlaygroundEuclideanFountain::showConcreteViews() {
    if (const std::shared_ptr<PlaygroundView> host = playgroundView()) {
        for (const std::shared_ptr<ui::View>& view : getConcreteViews())
            host->showView(view);
    }
}

ViewList PlaygroundEuclideanFountain::getConcreteViews() {
    ViewList views;
    appendViews(views, m_equalsView.get());
    if (m_state == kChoosingOperation) {
        for (const std::shared_ptr<GenericLabel>& sign : m_operatorViews)
            appendViews(views, sign.get());
    } else if (m_state == kTypingOperand) {
        appendViews(views, m_chosenOpView.get());
        appendViews(views, m_inputExprView.get());
    }
    return views;
}

void PlaygroundEuclideanFountain::moveToFinalStateAnimated(bool animated) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host)
        return;
    ui::animate({.duration = animated ? kMoveDuration : 0, .options = kMoveOptions}, [&] {
        if (m_state == kChoosingOperation) {
            positionOperators();
            return;
        }
        if (m_state != kTypingOperand)
            return;
        // The expression steps aside: down for a row above the "=", up for a division's row below it.
        if (const std::shared_ptr<ExprView> main = mainExprView()) {
            const float shift = (m_chosenArithType == ArithmeticTypeDivide ? -2 : 2) * host->space();
            const core::Point pivot = host->pivotPoint();
            main->moveTo({pivot.x, pivot.y + shift}, AnchorCenter);
            if (const std::shared_ptr<IGenericView> equals = main->viewWithOp(m_equation->op().get())) {
                if (m_chosenOpView)
                    m_chosenOpView->setFontSize(host->baseFontSize(), animated);
                if (m_equalsView) {
                    m_equalsView->setFontSize(host->baseFontSize(), animated);
                    m_equalsView->moveTo(equals->getPointAtPosition(AnchorCenter), AnchorCenter);
                }
            }
        }
        updateInputExprView();
    });
}

void PlaygroundEuclideanFountain::updateInputExprView() {
    if (m_inputExprView)
        m_inputExprView->clear();
    m_inputExprView = nullptr;
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host || !m_chosenOpView || !m_equalsView)
        return;
    m_chosenOpView->setFontSize(host->baseFontSize(), false);
    // The operand is made where it stands, not flown in.
    if (m_currentExpr)
        ui::performWithoutAnimation([&] { m_inputExprView = makeExprView(*m_currentExpr, *host, nullptr); });

    const std::shared_ptr<ExprView> main = mainExprView();
    const float space = main ? main->space() : host->space();
    const float width =
        space + m_chosenOpView->getWidth() + (m_inputExprView ? m_inputExprView->getWidth() : 0);
    const bool division = m_chosenArithType == ArithmeticTypeDivide;
    // The times sign sits lower, as in products.
    const float lowered = m_chosenArithType == ArithmeticTypeMultiply ? 2 * space : 0;
    const Anchor anchor = division ? AnchorTopLeft : AnchorBottomLeft;
    const core::Point equals =
        m_equalsView->getPointAtPosition(division ? AnchorBottomCenter : AnchorTopCenter);
    const float x = equals.x - width / 2;
    float y = std::max(kRowMinimumY, division ? equals.y - kRowOverlapBelow : equals.y + kRowOverlapAbove);

    m_chosenOpView->moveTo({x, y + lowered}, anchor);
    if (m_chosenOpView->getTopLeft().y < kSignHighestTop) {
        m_chosenOpView->moveTo({m_chosenOpView->getTopLeft().x, kSignHighestTop + lowered}, AnchorTopLeft);
        y = m_chosenOpView->getPointAtPosition(anchor).y - lowered;
    }
    if (const core::Point bottomLeft = m_chosenOpView->getPointAtPosition(AnchorBottomLeft);
        bottomLeft.y > host->bounds().height()) {
        m_chosenOpView->moveTo({bottomLeft.x, host->bounds().height()}, AnchorBottomLeft);
        y = m_chosenOpView->getPointAtPosition(anchor).y;
    }
    if (!m_inputExprView)
        return;
    ui::performWithoutAnimation([&] {
        m_inputExprView->moveTo({x + space + m_chosenOpView->getWidth(), y}, anchor);
    });
    host->showExprView(m_inputExprView.get());
}

void PlaygroundEuclideanFountain::updateInputWithExpr(const ExprPtr& expr, bool readable) {
    m_currentExpr = expr;
    m_currentReadable = readable;
    updateInputExprView();
}

void PlaygroundEuclideanFountain::clearExprInput() {
    m_currentExpr = nullptr;
    updateInputExprView();
}

void PlaygroundEuclideanFountain::finishInput() {
    const std::shared_ptr<Playground> keep = shared_from_this();
    const std::shared_ptr<PlaygroundMain> main = mainPlayground();
    // With nothing typed there is nothing to apply.
    if (m_currentExpr && main && m_equation) {
        // A text that does not read as an expression is no operand: the move is refused.
        const StepPtr step = m_currentReadable ? StepPtr(std::make_shared<StepEuclideanFountain>(
                                                     m_equation, m_currentExpr, m_chosenArithType))
                                               : std::make_shared<StepFail>(std::vector<ExprPtr>{m_equation});
        // The copies on both sides grow out of the operand where it is shown.
        Baggage bag(m_inputExprView);
        if (m_inputExprView)
            bag.addPositionForObj(m_currentExpr, m_inputExprView->getObj());
        main->executeStep(step, bag);
    }
    cancelInput();
}

void PlaygroundEuclideanFountain::cancelInput() {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (host && host->modalPlayground().get() == this)
        host->popModalPlayground();
}

} // namespace zm
