#include "components/KHProgressHUD/KHProgressHUD.h"

#include "components/KHProgressHUD/KHRoundProgressView.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/MainLoop.h"
#include "platform/core/Thread.h"
#include "platform/core/Timer.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Text.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Label.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/ViewAnimation.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zm {

namespace {

constexpr double kAnimationDuration = 0.30;
constexpr float kPanelCornerRadius = 10;
// Between the indicator, the label and the details label.
constexpr float kContentSpacing = 4;

float nearest(float value) {
    return std::round(value);
}

double mediaTime() {
    return core::currentClock()->mediaTime();
}

bool onMainThread() {
    return core::DispatchQueue::main()->isCurrent();
}

std::shared_ptr<ui::Label> makeLabel(const core::Rect& frame, const gfx::Font& font) {
    auto label = ui::Label::create(frame);
    label->setAdjustsFontSizeToFitWidth(false);
    label->setTextAlignment(gfx::TextAlignment::Center);
    label->setBackgroundColor(core::Color::clear());
    label->setTextColor(core::Color::white());
    label->setFont(font);
    return label;
}

core::Size clippedTo(core::Size size, float maxWidth) {
    return {std::min(size.width, maxWidth), size.height};
}

} // namespace

std::shared_ptr<KHProgressHUD> KHProgressHUD::create(const core::Rect& frame) {
    return std::shared_ptr<KHProgressHUD>(new KHProgressHUD(frame));
}

std::shared_ptr<KHProgressHUD> KHProgressHUD::create(const ui::View* view) {
    auto hud = create(view ? view->bounds() : core::Rect{});
    if (dynamic_cast<const ui::Window*>(view))
        hud->setTransformForCurrentOrientation(false);
    return hud;
}

KHProgressHUD::KHProgressHUD(const core::Rect& frame)
    : View(frame) {
    setUserInteractionEnabled(false);
    setAutoresizingMask(ui::AutoresizingMask::FlexibleLeftMargin | ui::AutoresizingMask::FlexibleRightMargin |
                        ui::AutoresizingMask::FlexibleTopMargin | ui::AutoresizingMask::FlexibleBottomMargin);
    setBackgroundColor(core::Color::clear());
    setAlpha(0);
    setContentMode(ui::ContentMode::Redraw);

    m_label = makeLabel(bounds(), m_properties.labelFont);
    m_detailsLabel = makeLabel(bounds(), m_properties.detailsLabelFont);
    m_detailsLabel->setNumberOfLines(0);
    addSubview(m_label);
    addSubview(m_detailsLabel);
    updateIndicators();

    m_orientationObservation = core::NotificationCenter::defaultCenter().addObserver(
        std::string(ui::deviceOrientationDidChangeNotification), nullptr,
        [this](const core::Notification&) {
            if (!superview())
                return;
            if (dynamic_cast<ui::Window*>(superview())) {
                setTransformForCurrentOrientation(true);
            } else {
                setBounds(superview()->bounds());
                setNeedsDisplay();
            }
        });
}

KHProgressHUD::~KHProgressHUD() {
    if (m_graceTimer)
        m_graceTimer->invalidate();
    if (m_minShowTimer)
        m_minShowTimer->invalidate();
}

std::shared_ptr<KHProgressHUD> KHProgressHUD::self() {
    return std::static_pointer_cast<KHProgressHUD>(shared_from_this());
}

// Class operations.

std::shared_ptr<KHProgressHUD> KHProgressHUD::showHUDAddedTo(ui::View& view, bool animated) {
    auto hud = create(&view);
    view.addSubview(hud);
    hud->show(animated);
    return hud;
}

bool KHProgressHUD::hideHUDForView(ui::View& view, bool animated) {
    const std::shared_ptr<KHProgressHUD> hud = HUDForView(view);
    if (!hud)
        return false;
    hud->setRemoveFromSuperViewOnHide(true);
    hud->hide(animated);
    return true;
}

int KHProgressHUD::hideAllHUDsForView(ui::View& view, bool animated) {
    const std::vector<std::shared_ptr<KHProgressHUD>> huds = allHUDsForView(view);
    for (const auto& hud : huds) {
        hud->setRemoveFromSuperViewOnHide(true);
        hud->hide(animated);
    }
    return int(huds.size());
}

std::shared_ptr<KHProgressHUD> KHProgressHUD::HUDForView(const ui::View& view) {
    const std::vector<std::shared_ptr<KHProgressHUD>> huds = allHUDsForView(view);
    return huds.empty() ? nullptr : huds.back();
}

std::vector<std::shared_ptr<KHProgressHUD>> KHProgressHUD::allHUDsForView(const ui::View& view) {
    std::vector<std::shared_ptr<KHProgressHUD>> huds;
    for (const auto& subview : view.subviews())
        if (auto hud = std::dynamic_pointer_cast<KHProgressHUD>(subview))
            huds.push_back(std::move(hud));
    return huds;
}

// Showing and hiding.

void KHProgressHUD::show(bool animated) {
    m_useAnimation = animated;
    ++m_showCount;
    // An earlier hide waiting out the minimum show time must not hide this show.
    if (m_minShowTimer)
        m_minShowTimer->invalidate();
    if (const float grace = graceTime(); grace > 0) {
        if (m_graceTimer)
            m_graceTimer->invalidate();
        m_graceTimer = core::Timer::schedule(
            core::fromSeconds(grace), core::Timer::Repeat::Once,
            [weak = std::weak_ptr(self())](core::Timer&) {
                const std::shared_ptr<KHProgressHUD> hud = weak.lock();
                if (hud && hud->taskInProgress()) {
                    hud->setNeedsDisplay();
                    hud->showUsingAnimation(hud->m_useAnimation);
                }
            });
        return;
    }
    setNeedsDisplay();
    showUsingAnimation(animated);
}

void KHProgressHUD::hide(bool animated) {
    m_useAnimation = animated;
    // A grace time still running must not show what is being hidden.
    if (m_graceTimer)
        m_graceTimer->invalidate();
    const float minimum = minShowTime();
    if (minimum > 0 && m_showStarted) {
        const double shown = mediaTime() - *m_showStarted;
        if (shown < minimum) {
            if (m_minShowTimer)
                m_minShowTimer->invalidate();
            m_minShowTimer = core::Timer::schedule(core::fromSeconds(minimum - shown), core::Timer::Repeat::Once,
                                                   [weak = std::weak_ptr(self())](core::Timer&) {
                                                       if (const auto hud = weak.lock())
                                                           hud->hideUsingAnimation(hud->m_useAnimation);
                                                   });
            return;
        }
    }
    hideUsingAnimation(animated);
}

void KHProgressHUD::hide(bool animated, double delay) {
    core::DispatchQueue::main()->after(core::fromSeconds(delay), [weak = std::weak_ptr(self()), animated] {
        if (const auto hud = weak.lock())
            hud->hide(animated);
    });
}

void KHProgressHUD::showUsingAnimation(bool animated) {
    setAlpha(0);
    if (!animated) {
        m_showStarted = mediaTime();
        setAlpha(1);
        return;
    }
    const bool zoom = animationType() == KHProgressHUDAnimation::Zoom;
    if (zoom)
        setTransform(core::AffineTransform::concat(m_rotationTransform, core::AffineTransform::makeScale(1.5f, 1.5f)));
    m_showStarted = mediaTime();
    ui::animate({.duration = kAnimationDuration}, [this, zoom] {
        setAlpha(1);
        if (zoom)
            setTransform(m_rotationTransform);
    });
}

void KHProgressHUD::hideUsingAnimation(bool animated) {
    if (animated && m_showStarted) {
        const bool zoom = animationType() == KHProgressHUDAnimation::Zoom;
        ui::animate(
            {.duration = kAnimationDuration},
            [this, zoom] {
                if (zoom)
                    setTransform(core::AffineTransform::concat(m_rotationTransform,
                                                               core::AffineTransform::makeScale(0.5f, 0.5f)));
                setAlpha(0.02f);
            },
            [hud = self(), showCount = m_showCount](bool) {
                if (hud->m_showCount == showCount)
                    hud->done();
            });
    } else {
        setAlpha(0);
        done();
    }
    m_showStarted.reset();
}

void KHProgressHUD::done() {
    if (m_graceTimer)
        m_graceTimer->invalidate();
    if (m_minShowTimer)
        m_minShowTimer->invalidate();
    setAlpha(0);
    // Kept alive through the delegate's call and the removal.
    const std::shared_ptr<KHProgressHUD> keep = self();
    if (const std::shared_ptr<KHProgressHUDDelegate> listener = delegate())
        listener->hudWasHidden(*this);
    if (removeFromSuperViewOnHide())
        removeFromSuperview();
}

// Running a task.

void KHProgressHUD::showWhileExecuting(std::function<void()> task, bool animated) {
    setTaskInProgress(true);
    core::Thread::detach("KHProgressHUD", [hud = self(), task = std::move(task)]() mutable {
        task();
        // The worker keeps no hold of its own: the overlay, a view, must be let go on the main thread.
        core::DispatchQueue::main()->async([hud = std::move(hud)] { hud->cleanUp(); });
    });
    show(animated);
}

void KHProgressHUD::cleanUp() {
    setTaskInProgress(false);
    m_indicator = nullptr;
    hide(m_useAnimation);
}

// Properties.

template <class T> T KHProgressHUD::get(T Properties::*member) const {
    std::lock_guard lock(m_mutex);
    return m_properties.*member;
}

template <class T> void KHProgressHUD::set(T Properties::*member, T value) {
    std::lock_guard lock(m_mutex);
    m_properties.*member = std::move(value);
}

KHProgressHUDMode KHProgressHUD::mode() const { return get(&Properties::mode); }
void KHProgressHUD::setMode(KHProgressHUDMode mode) {
    set(&Properties::mode, mode);
    changed(KeyPath::Mode);
}
KHProgressHUDAnimation KHProgressHUD::animationType() const { return get(&Properties::animationType); }
void KHProgressHUD::setAnimationType(KHProgressHUDAnimation type) { set(&Properties::animationType, type); }
std::shared_ptr<ui::View> KHProgressHUD::customView() const { return get(&Properties::customView); }
void KHProgressHUD::setCustomView(std::shared_ptr<ui::View> view) {
    set(&Properties::customView, std::move(view));
    changed(KeyPath::CustomView);
}
std::shared_ptr<KHProgressHUDDelegate> KHProgressHUD::delegate() const {
    return get(&Properties::delegate).lock();
}
void KHProgressHUD::setDelegate(std::weak_ptr<KHProgressHUDDelegate> delegate) {
    set(&Properties::delegate, std::move(delegate));
}
std::string KHProgressHUD::labelText() const { return get(&Properties::labelText); }
void KHProgressHUD::setLabelText(std::string text) {
    set(&Properties::labelText, std::move(text));
    changed(KeyPath::LabelText);
}
std::string KHProgressHUD::detailsLabelText() const { return get(&Properties::detailsLabelText); }
void KHProgressHUD::setDetailsLabelText(std::string text) {
    set(&Properties::detailsLabelText, std::move(text));
    changed(KeyPath::DetailsLabelText);
}
gfx::Font KHProgressHUD::labelFont() const { return get(&Properties::labelFont); }
void KHProgressHUD::setLabelFont(const gfx::Font& font) {
    set(&Properties::labelFont, font);
    changed(KeyPath::LabelFont);
}
gfx::Font KHProgressHUD::detailsLabelFont() const { return get(&Properties::detailsLabelFont); }
void KHProgressHUD::setDetailsLabelFont(const gfx::Font& font) {
    set(&Properties::detailsLabelFont, font);
    changed(KeyPath::DetailsLabelFont);
}
float KHProgressHUD::opacity() const { return get(&Properties::opacity); }
void KHProgressHUD::setOpacity(float opacity) { set(&Properties::opacity, opacity); }
float KHProgressHUD::xOffset() const { return get(&Properties::xOffset); }
void KHProgressHUD::setXOffset(float offset) { set(&Properties::xOffset, offset); }
float KHProgressHUD::yOffset() const { return get(&Properties::yOffset); }
void KHProgressHUD::setYOffset(float offset) { set(&Properties::yOffset, offset); }
float KHProgressHUD::margin() const { return get(&Properties::margin); }
void KHProgressHUD::setMargin(float margin) { set(&Properties::margin, margin); }
bool KHProgressHUD::dimBackground() const { return get(&Properties::dimBackground); }
void KHProgressHUD::setDimBackground(bool dim) { set(&Properties::dimBackground, dim); }
float KHProgressHUD::graceTime() const { return get(&Properties::graceTime); }
void KHProgressHUD::setGraceTime(float seconds) { set(&Properties::graceTime, seconds); }
float KHProgressHUD::minShowTime() const { return get(&Properties::minShowTime); }
void KHProgressHUD::setMinShowTime(float seconds) { set(&Properties::minShowTime, seconds); }
bool KHProgressHUD::taskInProgress() const { return get(&Properties::taskInProgress); }
void KHProgressHUD::setTaskInProgress(bool inProgress) { set(&Properties::taskInProgress, inProgress); }
bool KHProgressHUD::removeFromSuperViewOnHide() const { return get(&Properties::removeFromSuperViewOnHide); }
void KHProgressHUD::setRemoveFromSuperViewOnHide(bool remove) {
    set(&Properties::removeFromSuperViewOnHide, remove);
}
float KHProgressHUD::progress() const { return get(&Properties::progress); }
void KHProgressHUD::setProgress(float progress) {
    set(&Properties::progress, progress);
    changed(KeyPath::Progress);
}
core::Size KHProgressHUD::minSize() const { return get(&Properties::minSize); }
void KHProgressHUD::setMinSize(core::Size size) { set(&Properties::minSize, size); }
bool KHProgressHUD::isSquare() const { return get(&Properties::square); }
void KHProgressHUD::setSquare(bool square) { set(&Properties::square, square); }
core::Size KHProgressHUD::size() const { return get(&Properties::size); }

void KHProgressHUD::changed(KeyPath keyPath) {
    if (onMainThread()) {
        updateUI(keyPath);
        return;
    }
    core::DispatchQueue::main()->async([weak = std::weak_ptr(self()), keyPath] {
        if (const auto hud = weak.lock())
            hud->updateUI(keyPath);
    });
}

void KHProgressHUD::updateUI(KeyPath keyPath) {
    switch (keyPath) {
    case KeyPath::Mode:
    case KeyPath::CustomView:
        updateIndicators();
        break;
    case KeyPath::LabelText:
        m_label->setText(labelText());
        break;
    case KeyPath::LabelFont:
        m_label->setFont(labelFont());
        break;
    case KeyPath::DetailsLabelText:
        m_detailsLabel->setText(detailsLabelText());
        break;
    case KeyPath::DetailsLabelFont:
        m_detailsLabel->setFont(detailsLabelFont());
        break;
    case KeyPath::Progress:
        if (auto* indicator = dynamic_cast<KHProgressIndicator*>(m_indicator.get()))
            indicator->setProgress(progress());
        return;
    }
    setNeedsLayout();
    setNeedsDisplay();
}

void KHProgressHUD::updateIndicators() {
    const auto replaceIndicator = [this](std::shared_ptr<ui::View> indicator) {
        if (m_indicator)
            m_indicator->removeFromSuperview();
        m_indicator = std::move(indicator);
        if (m_indicator)
            addSubview(m_indicator);
    };
    switch (mode()) {
    case KHProgressHUDMode::Spinner:
        if (!dynamic_cast<ui::ActivityIndicatorView*>(m_indicator.get())) {
            auto spinner = ui::ActivityIndicatorView::create(ui::ActivityIndicatorView::Style::WhiteLarge);
            spinner->startAnimating();
            replaceIndicator(std::move(spinner));
        }
        break;
    case KHProgressHUDMode::Pie:
    case KHProgressHUDMode::Ring:
        if (!dynamic_cast<KHRoundProgressView*>(m_indicator.get()))
            replaceIndicator(KHRoundProgressView::create());
        static_cast<KHRoundProgressView&>(*m_indicator).setAnnular(mode() == KHProgressHUDMode::Ring);
        break;
    case KHProgressHUDMode::CustomView:
        if (const std::shared_ptr<ui::View> custom = customView(); m_indicator != custom)
            replaceIndicator(custom);
        break;
    case KHProgressHUDMode::TextOnly:
        replaceIndicator(nullptr);
        break;
    }
}

// Layout and drawing.

void KHProgressHUD::didMoveToSuperview() {
    View::didMoveToSuperview();
    setNeedsLayout();
}

void KHProgressHUD::layoutSubviews() {
    if (superview())
        setFrame(superview()->bounds());
    const float width = bounds().width();
    const float height = bounds().height();
    const float margin = this->margin();
    const float maxWidth = width - 4 * margin;

    const core::Size indicatorSize = clippedTo(m_indicator ? m_indicator->bounds().size : core::Size{}, maxWidth);
    const core::Size labelSize = clippedTo(gfx::measureText(m_label->text(), m_label->font()), maxWidth);
    // The details label wraps within the same width, under the label; without text it takes no room.
    const core::Size detailsSize =
        m_detailsLabel->text().empty()
            ? core::Size{}
            : clippedTo(gfx::measureText(gfx::AttributedText(m_detailsLabel->text(), m_detailsLabel->font()),
                                         maxWidth),
                        maxWidth);

    float contentHeight = 0;
    const auto stack = [&contentHeight](core::Size size) {
        if (size.height <= 0)
            return contentHeight;
        if (contentHeight > 0)
            contentHeight += kContentSpacing;
        const float top = contentHeight;
        contentHeight += size.height;
        return top;
    };
    const float indicatorTop = stack(indicatorSize);
    const float labelTop = stack(labelSize);
    const float detailsTop = stack(detailsSize);
    const float contentWidth = std::max({indicatorSize.width, labelSize.width, detailsSize.width});

    core::Size panel{contentWidth + 2 * margin, contentHeight + 2 * margin};
    const float top = nearest((height - panel.height) / 2) + margin + yOffset();
    const auto place = [&](ui::View& view, core::Size size, float y) {
        view.setFrame({nearest((width - size.width) / 2) + xOffset(), top + y, size.width, size.height});
    };
    if (m_indicator)
        place(*m_indicator, indicatorSize, indicatorTop);
    place(*m_label, labelSize, labelTop);
    place(*m_detailsLabel, detailsSize, detailsTop);

    if (isSquare()) {
        const float side = std::max(panel.width, panel.height);
        if (side <= width - 2 * margin)
            panel.width = side;
        if (side <= height - 2 * margin)
            panel.height = side;
    }
    const core::Size smallest = minSize();
    panel.width = std::max(panel.width, smallest.width);
    panel.height = std::max(panel.height, smallest.height);
    set(&Properties::size, panel);
}

void KHProgressHUD::draw(gfx::Canvas& canvas) {
    const float width = bounds().width();
    const float height = bounds().height();
    if (dimBackground()) {
        const core::Point center{width / 2, height / 2};
        canvas.drawRadialGradient(
            {{{0, core::Color::rgba(0, 0, 0, 0)}, {1, core::Color::rgba(0, 0, 0, 0.75f)}}}, center, 0, center,
            std::min(width, height), {.afterEnd = true});
    }
    const core::Size panel = size();
    const core::Rect box{nearest((width - panel.width) / 2) + xOffset(), nearest((height - panel.height) / 2) + yOffset(),
                         panel.width, panel.height};
    constexpr float pi = std::numbers::pi_v<float>;
    constexpr float r = kPanelCornerRadius;
    gfx::Path path;
    path.moveTo({box.minX() + r, box.minY()});
    path.addArc({box.maxX() - r, box.minY() + r}, r, 3 * pi / 2, 2 * pi, true);
    path.addArc({box.maxX() - r, box.maxY() - r}, r, 0, pi / 2, true);
    path.addArc({box.minX() + r, box.maxY() - r}, r, pi / 2, pi, true);
    path.addArc({box.minX() + r, box.minY() + r}, r, pi, 3 * pi / 2, true);
    path.close();
    canvas.setFillColor(core::Color::white(0, opacity()));
    canvas.fillPath(path);
}

void KHProgressHUD::setTransformForCurrentOrientation(bool animated) {
    if (superview()) {
        setBounds(superview()->bounds());
        setNeedsDisplay();
    }
    constexpr float pi = std::numbers::pi_v<float>;
    float angle = 0;
    switch (ui::StatusBar::current().orientation) {
    case ui::InterfaceOrientation::LandscapeRight:
        angle = pi / 2;
        break;
    case ui::InterfaceOrientation::LandscapeLeft:
        angle = -pi / 2;
        break;
    case ui::InterfaceOrientation::PortraitUpsideDown:
        angle = pi;
        break;
    case ui::InterfaceOrientation::Portrait:
        break;
    }
    if (ui::isLandscape(ui::StatusBar::current().orientation))
        setBounds({0, 0, bounds().height(), bounds().width()});
    m_rotationTransform = core::AffineTransform::makeRotation(angle);
    if (animated)
        ui::animate({}, [this] { setTransform(m_rotationTransform); });
    else
        setTransform(m_rotationTransform);
}

} // namespace zm
