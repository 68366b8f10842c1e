#include "playground/PlaygroundFactorizeChoices.h"

#include "model/ExprProduct.h"
#include "model/ExprSoloist.h"
#include "model/steps/StepFactorize.h"
#include "platform/core/Log.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/views/Baggage.h"
#include "playground/views/ExprViewList.h"

#include <algorithm>

namespace zm {

namespace {

constexpr float kChoiceFontShare = 0.8f;
constexpr float kRowGapSpaces = 4;
constexpr float kContentGapSpaces = 8;
// The row's bottom stands this share of the number's height below the number's top.
constexpr float kRowDrop = 0.2f;
constexpr float kLeftMargin = 5;
constexpr double kSpreadDuration = 0.4;

} // namespace

std::shared_ptr<PlaygroundFactorizeChoices>
PlaygroundFactorizeChoices::create(std::shared_ptr<ExprSoloist> solo, PlaygroundMain& mainPlayground) {
    const std::shared_ptr<PlaygroundView> host = mainPlayground.playgroundView();
    if (!solo || !host)
        return nullptr;
    auto main = std::static_pointer_cast<PlaygroundMain>(mainPlayground.weak_from_this().lock());
    std::shared_ptr<PlaygroundFactorizeChoices> playground(
        new PlaygroundFactorizeChoices(*host, std::move(solo), main));
    playground->configureViews();
    return playground;
}

PlaygroundFactorizeChoices::PlaygroundFactorizeChoices(PlaygroundView& playgroundView,
                                                       std::shared_ptr<ExprSoloist> solo,
                                                       std::weak_ptr<PlaygroundMain> mainPlayground)
    : Playground(playgroundView)
    , m_solo(std::move(solo))
    , m_mainPlayground(std::move(mainPlayground)) {}

bool PlaygroundFactorizeChoices::isShown() const {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    return host && host->modalPlayground().get() == this;
}

void PlaygroundFactorizeChoices::configureViews() {
    m_choices.clear();
    m_highlightedExprView = nullptr;
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    const std::shared_ptr<PlaygroundMain> main = mainPlayground();
    if (!host)
        return;
    const std::shared_ptr<ExprView> mainView = main ? main->mainExprView() : nullptr;
    m_soloView = mainView ? mainView->viewWithExpr(m_solo.get()) : nullptr;
    m_factorPairs = m_solo->getFactorizedProductPairs();
    if (m_factorPairs.empty()) {
        core::log(core::LogLevel::Warning, "factor pairs = 0... NOT GOOD");
        return;
    }
    // 1 x n shows nothing new.
    m_factorPairs.erase(m_factorPairs.begin());
    if (!m_soloView)
        return;
    for (const std::shared_ptr<ExprProduct>& pair : m_factorPairs) {
        ExprViewPtr view = makeExprView(*pair, *host, nullptr);
        view->setColor(host->highlightColor());
        view->setFontSize(kChoiceFontShare * host->baseFontSize(), false);
        m_choices.push_back(std::move(view));
    }
    configureScrollView();
    // Every piece starts on the number, and spreads out from there.
    const core::Point numberCenter = m_soloView->getPointAtPosition(AnchorCenter);
    for (const std::shared_ptr<ExprView>& choice : m_choices) {
        for (const std::shared_ptr<ui::View>& view : choice->getViewList()) {
            view->setCenter(numberCenter);
            m_scroller->addSubview(view);
        }
    }
}

void PlaygroundFactorizeChoices::configureScrollView() {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host)
        return;
    if (m_scroller)
        m_scroller->removeFromSuperview();
    const float height = m_soloView ? m_soloView->getPointAtPosition(AnchorBottomCenter).y : 0;
    m_scroller = GenericScrollView::create({0, 0, host->bounds().width(), height});
    m_scroller->setPlaygroundFact(std::static_pointer_cast<PlaygroundFactorizeChoices>(shared_from_this()));
    m_scroller->setContentSize({getWidth(), getHeight()});
}

float PlaygroundFactorizeChoices::getWidth() const {
    if (m_choices.empty())
        return 0;
    float width = kContentGapSpaces * m_choices.front()->space() * float(m_choices.size() - 1);
    for (const std::shared_ptr<ExprView>& choice : m_choices)
        width += choice->getWidth();
    return width;
}

float PlaygroundFactorizeChoices::getHeight() const {
    float height = m_soloView ? m_soloView->getHeight() : 0;
    for (const std::shared_ptr<ExprView>& choice : m_choices)
        height = std::max(height, choice->getHeight());
    return height;
}

void PlaygroundFactorizeChoices::positionPairs() {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (m_choices.empty() || !m_soloView || !host)
        return;
    const float gap = kRowGapSpaces * m_choices.front()->space();
    const core::Point numberTop = m_soloView->getPointAtPosition(AnchorTopCenter);
    const float width = getWidth();
    const float room = host->spacingRect().width();
    float x = 0;
    if (width < room) {
        x = numberTop.x - width / 2;
        if (x <= kLeftMargin)
            x = kLeftMargin;
        else if (x + width > room)
            x = room - width;
    }
    const float y = numberTop.y + kRowDrop * m_soloView->getHeight();
    for (const std::shared_ptr<ExprView>& choice : m_choices) {
        choice->moveTo({x, y}, AnchorBottomLeft);
        x += gap + choice->getWidth();
    }
}

void PlaygroundFactorizeChoices::drawInitialState() {
    configureViews();
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host)
        return;
    host->showView(m_scroller);
    // The number stays in sight over the veil.
    if (m_soloView) {
        for (const std::shared_ptr<ui::View>& view : m_soloView->getViewList())
            host->showView(view);
    }
}

void PlaygroundFactorizeChoices::moveToFinalStateAnimated(bool animated) {
    if (!animated) {
        positionPairs();
        return;
    }
    std::weak_ptr<GenericScrollView> scroller = m_scroller;
    ui::animate(
        {.duration = kSpreadDuration,
         .options = ui::AnimationOptions::AllowUserInteraction | ui::AnimationOptions::BeginFromCurrentState},
        [&] { positionPairs(); },
        [scroller](bool) {
            if (auto strip = scroller.lock())
                strip->flashScrollIndicators();
        });
}

ViewList PlaygroundFactorizeChoices::getConcreteViews() {
    return m_scroller ? ViewList{m_scroller} : ViewList{};
}

void PlaygroundFactorizeChoices::clear() {
    for (const std::shared_ptr<ExprView>& choice : m_choices) {
        for (const std::shared_ptr<ui::View>& view : choice->getViewList())
            view->removeFromSuperview();
    }
    Playground::clear();
}

void PlaygroundFactorizeChoices::touchBegan(core::Point) {
    if (const std::shared_ptr<PlaygroundView> host = playgroundView(); host && isShown())
        host->popModalPlayground();
}

core::Point PlaygroundFactorizeChoices::contentPoint(core::Point point) const {
    return {point.x + (m_scroller ? m_scroller->contentOffset().x : 0), point.y};
}

void PlaygroundFactorizeChoices::executorTouchBegan(core::Point point) {
    touchingInScrollView(contentPoint(point));
}

void PlaygroundFactorizeChoices::executorTouchEnded(core::Point point) {
    tappedInScrollView(contentPoint(point));
}

void PlaygroundFactorizeChoices::touchingInScrollView(core::Point point) {
    clearHighlight();
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host)
        return;
    for (const std::shared_ptr<ExprView>& choice : m_choices) {
        if (!choice->containsPoint(point) || !isExactly<ExprViewProduct>(choice))
            continue;
        clearHighlight();
        m_highlightedExprView = choice;
        choice->setColor(host->expressionColor());
    }
}

void PlaygroundFactorizeChoices::clearHighlight() {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (m_highlightedExprView && host)
        m_highlightedExprView->setColor(host->highlightColor());
    m_highlightedExprView = nullptr;
}

void PlaygroundFactorizeChoices::scrolled() {
    clearHighlight();
}

void PlaygroundFactorizeChoices::tappedInScrollView(core::Point point) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host || !isShown())
        return;
    const auto chosen =
        std::ranges::find_if(m_choices.rbegin(), m_choices.rend(), [&](const ExprViewPtr& choice) {
            return choice->containsPoint(point) && isExactly<ExprViewProduct>(choice);
        });
    if (chosen == m_choices.rend()) {
        host->popModalPlayground();
        return;
    }
    const std::shared_ptr<Playground> keepAlive = shared_from_this();
    const ExprViewPtr& choice = *chosen;
    choice->setColor(host->expressionColor());
    // The new factors start where the pair shows on screen.
    const core::Point center = choice->getPointAtPosition(AnchorCenter);
    choice->moveTo({center.x - m_scroller->contentOffset().x, center.y + m_scroller->frame().minY()},
                   AnchorCenter);
    Baggage bag(m_soloView);
    bag.addGenericView(*choice);
    if (const std::shared_ptr<PlaygroundMain> main = mainPlayground())
        main->executeStep(StepFactorize::stepFactorizeWithOg(m_solo, choice->getExpr()), bag);
    host->popModalPlayground();
}

} // namespace zm
