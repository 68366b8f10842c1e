#include "playground/PlaygroundView.h"

#include "platform/core/MainLoop.h"
#include "platform/ui/Device.h"
#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/PinchGestureRecognizer.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/DrawingView.h"
#include "playground/PlaygroundContainerInputDelegate.h"
#include "playground/PlaygroundMain.h"
#include "playground/keyboard/ExprInputViewController.h"
#include "playground/views/ExprViewEquation.h"
#include "playground/views/Fonts.h"

#include <algorithm>

namespace zm {

namespace {

constexpr double kDoubleTapInterval = 0.3;
constexpr double kVeilFadeDuration = 0.3;
constexpr float kDisplayOnlyFontSizePhone = 50;
constexpr float kDisplayOnlyFontSizeTablet = 100;

double mediaTime() {
    return core::MainLoop::current().clock()->mediaTime();
}

core::Point locationOf(const ui::TouchSet& touches, const ui::View& view) {
    return touches.empty() ? core::Point{} : touches.front()->locationInView(&view);
}

// Whether `weak` was made from `playground` (both empty counts), even when it has expired since.
bool isSame(const std::weak_ptr<Playground>& weak, const std::shared_ptr<Playground>& playground) {
    return !weak.owner_before(playground) && !playground.owner_before(weak);
}

} // namespace

std::shared_ptr<PlaygroundView> PlaygroundView::create(const core::Rect& frame) {
    std::shared_ptr<PlaygroundView> view(new PlaygroundView(frame));
    setUp(view);
    return view;
}

PlaygroundView::PlaygroundView(const core::Rect& frame)
    : ui::View(frame) {
    setNumberFontName({});
    setVarFontName({});
    setBaseFontSize(50);
    resetPivotPoint();
    m_drawingView = DrawingView::create(bounds());
    addSubview(m_drawingView);
    setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    setMultipleTouchEnabled(true);
    setExclusiveTouch(true);
    setContentMode(ui::ContentMode::Redraw);
    m_spacingRect = bounds();
}

PlaygroundView::~PlaygroundView() = default;

void PlaygroundView::setUp(const std::shared_ptr<PlaygroundView>& view) {
    std::weak_ptr<PlaygroundView> weakView = view;
    view->m_panner = ui::PanGestureRecognizer::create([weakView](ui::GestureRecognizer& recognizer) {
        if (auto self = weakView.lock())
            self->pan(static_cast<ui::PanGestureRecognizer&>(recognizer));
    });
    view->m_panner->setMinimumNumberOfTouches(1);
    view->m_panner->setMaximumNumberOfTouches(1);
    view->setPanEnabled(false);
    view->addGestureRecognizer(view->m_panner);
    view->m_pincher = ui::PinchGestureRecognizer::create([weakView](ui::GestureRecognizer& recognizer) {
        if (auto self = weakView.lock())
            self->pinch(static_cast<ui::PinchGestureRecognizer&>(recognizer));
    });
    view->addGestureRecognizer(view->m_pincher);
}

void PlaygroundView::setMainPlayground(std::shared_ptr<PlaygroundMain> playground) {
    m_mainPlayground = std::move(playground);
}

void PlaygroundView::setModalPlayground(std::shared_ptr<Playground> playground) {
    m_modalPlayground = std::move(playground);
}

void PlaygroundView::setContainerInputDelegate(std::weak_ptr<PlaygroundContainerInputDelegate> delegate) {
    m_containerInputDelegate = std::move(delegate);
}

std::shared_ptr<PlaygroundContainerInputDelegate> PlaygroundView::containerInputDelegate() const {
    return m_containerInputDelegate.lock();
}

std::shared_ptr<ExprInputViewController>
PlaygroundView::beginInputWithInputDelegate(std::weak_ptr<ExprInputDelegate> delegate) {
    std::shared_ptr<ExprInputViewController> keyboard = ExprInputViewController::create();
    keyboard->setContainerDelegate(m_containerInputDelegate);
    keyboard->setInputDelegate(std::move(delegate));
    if (const std::shared_ptr<PlaygroundContainerInputDelegate> container = containerInputDelegate())
        container->addChildInputViewController(keyboard);
    return keyboard;
}

void PlaygroundView::setExecutor(std::shared_ptr<AIExecutor> executor) {
    m_executor = std::move(executor);
}

void PlaygroundView::setNewProblem(const std::shared_ptr<Expr>& expr) {
    clear();
    if (m_modalPlayground)
        tell(PlaygroundMessage::DismissedModalPlayground,
             [](PlaygroundDelegate& delegate) { delegate.dismissedModalPlayground(nullptr); });
    m_modalPlayground = nullptr;
    resetPivotPoint();
    if (!expr)
        return;
    auto playground = std::make_shared<PlaygroundMain>(*this);
    setMainPlayground(playground);
    playground->setMainExpr(expr);
    playground->drawInitialState();
    playground->moveToFinalStateAnimated(true);
    tell(PlaygroundMessage::StartedNewProblem,
         [](PlaygroundDelegate& delegate) { delegate.startedNewProblem(); });
}

void PlaygroundView::clear() {
    if (m_modalPlayground)
        m_modalPlayground->clear();
    if (m_mainPlayground)
        m_mainPlayground->clear();
    for (const std::shared_ptr<ui::View>& subview : std::vector(subviews()))
        subview->removeFromSuperview();
    clearVeil();
    showDrawingView();
}

void PlaygroundView::redraw() {
    resetPivotPoint();
    clear();
    if (m_mainPlayground) {
        m_mainPlayground->drawInitialState();
        m_mainPlayground->moveToFinalStateAnimated(false);
    }
    if (m_modalPlayground) {
        showVeil();
        m_modalPlayground->drawInitialState();
        m_modalPlayground->moveToFinalStateAnimated(false);
    }
}

void PlaygroundView::refreshConcreteViews() {
    ViewList views = m_mainPlayground ? m_mainPlayground->getConcreteViews() : ViewList{};
    clearVeil();
    // The veil goes right above the main playground's last view, below the modal playground's.
    std::shared_ptr<ui::View> lastOfMain;
    if (m_modalPlayground) {
        if (!views.empty())
            lastOfMain = views.back();
        const ViewList modal = m_modalPlayground->getConcreteViews();
        views.insert(views.end(), modal.begin(), modal.end());
    }
    for (const std::shared_ptr<ui::View>& subview : std::vector(subviews())) {
        if (std::ranges::find(views, subview) == views.end())
            subview->removeFromSuperview();
    }
    for (const std::shared_ptr<ui::View>& view : views) {
        if (view->superview() != this)
            addSubview(view);
        if (view == lastOfMain)
            showVeil();
    }
    showDrawingView();
}

void PlaygroundView::showView(const std::shared_ptr<ui::View>& view) {
    if (!view)
        return;
    addSubview(view);
    showDrawingView();
}

void PlaygroundView::showExprView(const ExprView* view) {
    if (view)
        showGenericView(*view);
}

void PlaygroundView::showGenericView(const IGenericView& view) {
    for (const std::shared_ptr<ui::View>& platformView : view.getViewList())
        showView(platformView);
}

void PlaygroundView::bringToFront(ui::View& view) {
    bringSubviewToFront(view);
    showDrawingView();
}

void PlaygroundView::showDrawingView() {
    if (m_drawingView)
        addSubview(m_drawingView);
}

void PlaygroundView::dropDrawingView() {
    if (m_drawingView)
        m_drawingView->removeFromSuperview();
    m_drawingView = nullptr;
}

void PlaygroundView::resetPivotPoint() {
    setPivotPoint({bounds().width() * 0.5f, bounds().height() * 0.5f});
}

void PlaygroundView::setPivotPoint(core::Point point) {
    const std::shared_ptr<ExprView> mainView = m_mainPlayground ? m_mainPlayground->mainExprView() : nullptr;
    const float width = mainView ? mainView->getWidth() : 0;
    if (point.x < -width / 2)
        point.x = -width / 2 + 0.1f * width;
    else if (point.x > bounds().width() + width / 2)
        point.x = bounds().width() + width / 2 - 0.1f * width;
    m_pivotPoint = point;
}

void PlaygroundView::setPivotPoint(core::Point point, bool animated) {
    setPivotPoint(point);
    if (m_mainPlayground) {
        m_mainPlayground->resizeToFit();
        m_mainPlayground->moveToFinalStateAnimated(animated);
    }
    if (m_modalPlayground)
        m_modalPlayground->moveToFinalStateAnimated(animated);
}

void PlaygroundView::repositionViewsAnimated(bool animated) {
    repositionMainPlaygroundAnimated(animated);
    if (m_modalPlayground)
        m_modalPlayground->moveToFinalStateAnimated(animated);
}

void PlaygroundView::repositionMainPlaygroundAnimated(bool animated) {
    resetPivotPoint();
    if (m_mainPlayground) {
        m_mainPlayground->resizeToFit();
        m_mainPlayground->moveToFinalStateAnimated(animated);
    }
}

bool PlaygroundView::pivotAtCenter() const {
    return m_pivotPoint == core::Point{bounds().width() * 0.5f, bounds().height() * 0.5f};
}

void PlaygroundView::setContentSize(core::Size size) {
    if (size.width > frame().width()) {
        setPanEnabled(true);
        return;
    }
    m_zoomedIn = false;
    if (m_panner->isEnabled())
        resetPivotPoint();
    setPanEnabled(false);
}

float PlaygroundView::getIdealHeight() const {
    if (!ui::Device::current().isTablet())
        return 232;
    return (superview() ? superview()->bounds().height() : frame().height()) - 44;
}

void PlaygroundView::setBaseFontSize(float size) {
    m_baseFontSize = size;
    m_space = halfSpaceWidth(m_numberFontName, size);
}

void PlaygroundView::setNumberFontName(std::string name) {
    m_numberFontName = name.empty() ? std::string(kGeorgia) : std::move(name);
}

void PlaygroundView::setVarFontName(std::string name) {
    m_varFontName = name.empty() ? std::string(kGeorgiaItalic) : std::move(name);
}

void PlaygroundView::layoutSubviews() {
    if (m_drawingView)
        m_drawingView->setFrame(bounds());
}

void PlaygroundView::touchesBegan(const ui::TouchSet& touches, const ui::Event&) {
    tell(PlaygroundMessage::TouchBegan, [](PlaygroundDelegate& delegate) { delegate.touchBegan(); });
    // A finger the window has forgotten has lifted, whether or not its end came here.
    std::erase_if(m_fingers, [](const Finger& finger) { return finger.touch.expired(); });
    const std::shared_ptr<Playground> top = topPlayground();
    for (const std::shared_ptr<ui::Touch>& touch : touches)
        m_fingers.push_back({touch, top});
    touchBegan(locationOf(touches, *this));
}

void PlaygroundView::touchesMoved(const ui::TouchSet& touches, const ui::Event&) {
    if (touches.size() >= 2 || touches.empty() || isStray(*touches.front()))
        return;
    touchMoved(touches.front()->locationInView(this), touches.front()->previousLocationInView(this));
}

void PlaygroundView::touchesEnded(const ui::TouchSet& touches, const ui::Event&) {
    liftFingers(touches);
}

void PlaygroundView::touchesCancelled(const ui::TouchSet& touches, const ui::Event&) {
    liftFingers(touches);
}

void PlaygroundView::liftFingers(const ui::TouchSet& touches) {
    const bool stray = !touches.empty() && isStray(*touches.front());
    std::erase_if(m_fingers, [&](const Finger& finger) {
        return std::ranges::find(touches, finger.touch.lock()) != touches.end();
    });
    if (!stray)
        touchEnded(locationOf(touches, *this));
}

std::shared_ptr<Playground> PlaygroundView::topPlayground() const {
    if (m_modalPlayground)
        return m_modalPlayground;
    return m_mainPlayground;
}

bool PlaygroundView::isStray(const Finger& finger) const {
    return !finger.touch.expired() && !isSame(finger.playground, topPlayground());
}

bool PlaygroundView::isStray(const ui::Touch& touch) const {
    const auto found = std::ranges::find_if(
        m_fingers, [&](const Finger& finger) { return finger.touch.lock().get() == &touch; });
    return found != m_fingers.end() && isStray(*found);
}

void PlaygroundView::touchBegan(core::Point point) {
    if (m_modalPlayground)
        m_modalPlayground->touchBegan(point);
    else if (m_mainPlayground)
        m_mainPlayground->touchBegan(point);
}

void PlaygroundView::touchMoved(core::Point point) {
    touchMoved(point, {0, 0});
}

void PlaygroundView::touchMoved(core::Point point, core::Point previous) {
    if (m_drawingView && m_drawingView->isDisplayed()) {
        m_drawingView->setEndPoint(point);
        if (m_mainPlayground)
            m_mainPlayground->drawnLine(*m_drawingView);
        return;
    }
    if (m_modalPlayground) {
        m_modalPlayground->touchMoved(point);
        return;
    }
    if (!m_mainPlayground || m_mainPlayground->touchMoved(point))
        return;
    // A move no playground took, over an expression with something to cross out, draws a line.
    const std::shared_ptr<ExprView>& mainView = m_mainPlayground->mainExprView();
    if (!mainView || !mainView->eligibleForEliminate() || !m_drawingView)
        return;
    m_drawingView->setSpace(mainView->space());
    m_drawingView->setStartPoint(previous == core::Point{0, 0} ? point : previous);
    m_drawingView->setEndPoint(point);
}

void PlaygroundView::touchEnded(core::Point point) {
    if (m_modalPlayground) {
        m_modalPlayground->touchEnded(point);
        return;
    }
    const bool taken = m_mainPlayground && m_mainPlayground->touchEnded(point);
    if (!taken) {
        const double now = mediaTime();
        if (now - m_lastTouchUp < kDoubleTapInterval) {
            doubleTapped();
            m_lastTouchUp = 0;
        } else {
            m_lastTouchUp = now;
        }
    }
    if (m_mainPlayground && m_mainPlayground->getContentSize().width > frame().width())
        setPanEnabled(true);
}

void PlaygroundView::doubleTapped() {
    if (m_modalPlayground)
        return;
    setTransform(core::AffineTransform::identity());
    resetPivotPoint();
    setPanEnabled(false);
    if (!m_mainPlayground || !m_mainPlayground->mainExprView())
        return;
    // Fitted again like after a step, so that the host's size and the zoom agree with the view.
    const std::shared_ptr<ExprView>& mainView = m_mainPlayground->mainExprView();
    mainView->fitIntoRect(m_spacingRect, false);
    setBaseFontSize(mainView->baseFontSize());
    setContentSize(m_mainPlayground->getContentSize());
    m_mainPlayground->moveToFinalStateAnimated(false);
}

bool PlaygroundView::gestureIsMain(ui::GestureRecognizer& recognizer, bool& ignored) {
    const bool mainShown = !m_modalPlayground && m_mainPlayground && m_mainPlayground->mainExprView();
    if (recognizer.state() == ui::GestureState::Began) {
        // Which fingers make the gesture is not known here: any stray one down keeps it from the main
        // playground.
        ignored = !mainShown ||
                  std::ranges::any_of(m_fingers, [&](const Finger& finger) { return isStray(finger); });
        recognizer.setCancelsTouchesInView(!ignored);
    }
    return mainShown && !ignored;
}

void PlaygroundView::pan(ui::PanGestureRecognizer& recognizer) {
    if (!gestureIsMain(recognizer, m_panIgnored))
        return;
    if (m_drawingView && m_drawingView->isDisplayed())
        m_drawingView->clear();
    const std::shared_ptr<ExprView>& mainView = m_mainPlayground->mainExprView();
    if (recognizer.state() == ui::GestureState::Began &&
        mainView->draggingOnExpr(recognizer.locationInView(this))) {
        // The drag belongs to the piece under the finger: the pan lets go without cancelling its touch.
        recognizer.setCancelsTouchesInView(false);
        setPanEnabled(false);
        return;
    }
    const core::Point translation = recognizer.translationInView(this);
    const core::Point moved{m_pivotPoint.x + translation.x, m_pivotPoint.y};
    if (recognizer.state() == ui::GestureState::Ended) {
        setPivotPoint(moved);
        m_mainPlayground->moveToFinalStateAnimated(false);
    } else {
        mainView->moveTo(moved, AnchorCenter);
    }
}

void PlaygroundView::pinch(ui::PinchGestureRecognizer& recognizer) {
    const float scale = recognizer.scale();
    if (!gestureIsMain(recognizer, m_pinchIgnored) || scale == 0)
        return;
    if (recognizer.state() == ui::GestureState::Changed && recognizer.numberOfTouches() == 2) {
        setTransform(core::AffineTransform::makeScale(scale, scale));
        if (scale > 1)
            m_zoomedIn = true;
    } else if (recognizer.state() == ui::GestureState::Ended) {
        setBaseFontSize(m_baseFontSize * scale);
        setTransform(core::AffineTransform::identity());
        m_mainPlayground->mainExprView()->setFontSize(m_baseFontSize, false);
        setContentSize(m_mainPlayground->getContentSize());
        m_mainPlayground->moveToFinalStateAnimated(false);
    }
}

void PlaygroundView::setPanEnabled(bool enabled) {
    if (enabled)
        m_panner->setCancelsTouchesInView(true);
    m_panner->setEnabled(enabled);
}

void PlaygroundView::showModalPlayground(const std::shared_ptr<Playground>& playground) {
    if (!playground)
        return;
    m_modalPlayground = playground;
    showVeil();
    playground->drawInitialState();
    playground->moveToFinalStateAnimated(true);
    tell(PlaygroundMessage::PresentedModalPlayground,
         [&](PlaygroundDelegate& delegate) { delegate.presentedModalPlayground(playground); });
    const ExprPtr mainExpr = m_mainPlayground ? m_mainPlayground->mainExpr() : nullptr;
    tell(PlaygroundMessage::WillExecuteStep,
         [&](PlaygroundDelegate& delegate) { delegate.willExecuteStep(nullptr, mainExpr); });
}

void PlaygroundView::popModalPlayground() {
    if (!m_modalPlayground)
        return;
    const std::shared_ptr<Playground> removed = std::move(m_modalPlayground);
    m_modalPlayground = nullptr;
    removed->clear();
    clearVeil();
    tell(PlaygroundMessage::DismissedModalPlayground,
         [&](PlaygroundDelegate& delegate) { delegate.dismissedModalPlayground(removed); });
    tell(PlaygroundMessage::ExecutedStep,
         [](PlaygroundDelegate& delegate) { delegate.executedStep(nullptr); });
}

void PlaygroundView::showVeil() {
    if (m_veil)
        m_veil->removeFromSuperview();
    m_veil = ui::View::create(bounds());
    m_veil->setBackgroundColor(m_veilColor);
    m_veil->setAlpha(0);
    // It only dims: fingers land on the host view itself, whose touches outlive any veil.
    m_veil->setUserInteractionEnabled(false);
    addSubview(m_veil);
    const std::shared_ptr<ui::View> veil = m_veil;
    ui::animate({.duration = kVeilFadeDuration}, [&veil] { veil->setAlpha(1); });
}

void PlaygroundView::clearVeil() {
    if (m_drawingView)
        m_drawingView->clear();
    if (!m_veil)
        return;
    // The veil that fades is the one taken away: a veil shown again meanwhile stays.
    const std::shared_ptr<ui::View> fading = m_veil;
    std::weak_ptr<PlaygroundView> weakSelf = std::static_pointer_cast<PlaygroundView>(shared_from_this());
    ui::animate(
        {.duration = kVeilFadeDuration}, [&fading] { fading->setAlpha(0); },
        [weakSelf, fading](bool) {
            fading->removeFromSuperview();
            if (auto self = weakSelf.lock(); self && self->m_veil == fading)
                self->m_veil = nullptr;
        });
}

void PlaygroundView::executeStepOneBelow(const std::shared_ptr<Step>& step, Baggage& bag) {
    if (m_mainPlayground)
        m_mainPlayground->executeStep(step, bag);
}

void PlaygroundView::activateDisplayOnlyMode() {
    disableTouchInput();
    if (!m_mainPlayground || !m_mainPlayground->mainExprView())
        return;
    const std::shared_ptr<ExprView>& mainView = m_mainPlayground->mainExprView();
    mainView->setFontSize(
        ui::Device::current().isTablet() ? kDisplayOnlyFontSizeTablet : kDisplayOnlyFontSizePhone, false);
    m_mainPlayground->moveToFinalStateAnimated(false);
    if (auto equation = asExactly<ExprViewEquation>(mainView))
        equation->moveTo(m_pivotPoint, AnchorCenter, {1, 1});
}

bool PlaygroundView::activeAgent() const {
    return m_mainPlayground && m_mainPlayground->agentExprView();
}

template <class Send> void PlaygroundView::tell(PlaygroundMessage message, Send send) const {
    if (const std::shared_ptr<PlaygroundDelegate> delegate = m_playDelegate.lock();
        delegate && delegate->respondsTo(message))
        send(*delegate);
}

bool PlaygroundView::respondsTo(PlaygroundMessage message) const {
    switch (message) {
    case PlaygroundMessage::WillExecuteStep:
    case PlaygroundMessage::ExecutedStep:
    case PlaygroundMessage::DidErrorStep:
    case PlaygroundMessage::DidExponentCombineStep:
    case PlaygroundMessage::ShowComplete:
    case PlaygroundMessage::AnimationComplete:
        return true;
    default:
        return false;
    }
}

void PlaygroundView::willExecuteStep(const std::shared_ptr<Step>& step, const std::shared_ptr<Expr>& expr) {
    tell(PlaygroundMessage::WillExecuteStep,
         [&](PlaygroundDelegate& delegate) { delegate.willExecuteStep(step, expr); });
}

void PlaygroundView::executedStep(const std::shared_ptr<Step>& step) {
    tell(PlaygroundMessage::ExecutedStep, [&](PlaygroundDelegate& delegate) { delegate.executedStep(step); });
}

void PlaygroundView::didErrorStep() {
    tell(PlaygroundMessage::DidErrorStep, [](PlaygroundDelegate& delegate) { delegate.didErrorStep(); });
}

void PlaygroundView::didExponentCombineStep() {
    tell(PlaygroundMessage::DidExponentCombineStep,
         [](PlaygroundDelegate& delegate) { delegate.didExponentCombineStep(); });
}

void PlaygroundView::showComplete() {
    tell(PlaygroundMessage::ShowComplete, [](PlaygroundDelegate& delegate) { delegate.showComplete(); });
}

void PlaygroundView::animationComplete() {
    tell(PlaygroundMessage::AnimationComplete,
         [](PlaygroundDelegate& delegate) { delegate.animationComplete(); });
}

} // namespace zm
