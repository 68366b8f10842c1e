#include "components/LQProgressHUD/LQProgressHUD.h"

#include "platform/core/DispatchQueue.h"
#include "platform/core/Timer.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Text.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Application.h"
#include "platform/ui/BundleImages.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/KeyboardNotifications.h"
#include "platform/ui/Label.h"
#include "platform/ui/ShapeLayer.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/ViewAnimation.h"
#include "platform/ui/Window.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace zm {

namespace {

constexpr double kFadeDuration = 0.15;
constexpr float kAppearScale = 1.3f;
constexpr float kRingRadius = 14;
constexpr float kRingWidth = 6;
constexpr int kRingSamples = 72;
constexpr float kPi = std::numbers::pi_v<float>;

core::Rect mainScreenBounds() {
    return {{}, ui::Device::current().screenSize()};
}

core::NotificationCenter& notifications() {
    return core::NotificationCenter::defaultCenter();
}

core::Point pointOnCircle(core::Point center, float radius, float angleInDegrees) {
    const float radians = angleInDegrees * kPi / 180;
    return {center.x + radius * std::cos(radians), center.y + radius * std::sin(radians)};
}

// A circle as a polygon of `samples` corners from the top, clockwise.
gfx::Path circlePath(core::Point center, float radius, int samples) {
    gfx::Path path;
    path.moveTo(pointOnCircle(center, radius, -90));
    for (int k = 1; k < samples; ++k)
        path.lineTo(pointOnCircle(center, radius, -90 + float(k) * 360 / float(samples)));
    path.lineTo(pointOnCircle(center, radius, -90));
    return path;
}

std::shared_ptr<ui::ShapeLayer> ringLayerAt(core::Point center, const core::Color& color) {
    auto ring = ui::ShapeLayer::create();
    ring->setFrame({center.x - kRingRadius, center.y - kRingRadius, 2 * kRingRadius, 2 * kRingRadius});
    ring->setPath(circlePath({kRingRadius, kRingRadius}, kRingRadius, kRingSamples));
    ring->setFillColor(core::Color::clear());
    ring->setStrokeColor(color);
    ring->setLineWidth(kRingWidth);
    ring->setLineJoin(gfx::LineJoin::Bevel);
    ring->setLineCap(gfx::LineCap::Butt);
    return ring;
}

gfx::Shadow statusShadow(const core::Color& color) {
    return {{0, -1}, 0, color};
}

// The rounded box: its background colour painted with round corners.
class HudBox : public ui::View {
public:
    static std::shared_ptr<HudBox> create() { return std::shared_ptr<HudBox>(new HudBox); }

    void setFillColor(const core::Color& color) {
        m_fill = color;
        setNeedsDisplay();
    }

protected:
    HudBox()
        : View({}) {
        setContentMode(ui::ContentMode::Redraw);
        setClipsToBounds(true);
    }

    void draw(gfx::Canvas& canvas) override {
        canvas.setFillColor(m_fill);
        canvas.fillPath(gfx::Path::roundedRect(bounds(), 10));
    }

private:
    core::Color m_fill;
};

} // namespace

std::shared_ptr<LQProgressHUD> LQProgressHUD::sharedView() {
    static const std::shared_ptr<LQProgressHUD> shared(new LQProgressHUD(mainScreenBounds()));
    return shared;
}

LQProgressHUDAppearance& LQProgressHUD::appearance() {
    static LQProgressHUDAppearance proxy;
    return proxy;
}

LQProgressHUD::LQProgressHUD(const core::Rect& frame)
    : View(frame) {
    setUserInteractionEnabled(false);
    setBackgroundColor(core::Color::clear());
    setAlpha(0);
    setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    setContentMode(ui::ContentMode::Redraw);
}

// Class operations.

void LQProgressHUD::show() {
    sharedView()->showProgressInView(-1, {}, LQProgressHUDMaskType::PassThrough);
}
void LQProgressHUD::showWithStatus(std::string status) {
    sharedView()->showProgressInView(-1, status, LQProgressHUDMaskType::PassThrough);
}
void LQProgressHUD::showWithMaskType(LQProgressHUDMaskType maskType) {
    sharedView()->showProgressInView(-1, {}, maskType);
}
void LQProgressHUD::showWithStatus(std::string status, LQProgressHUDMaskType maskType) {
    sharedView()->showProgressInView(-1, status, maskType);
}
void LQProgressHUD::showProgress(float progress) {
    sharedView()->showProgressInView(progress, {}, LQProgressHUDMaskType::PassThrough);
}
void LQProgressHUD::showProgress(float progress, std::string status) {
    sharedView()->showProgressInView(progress, status, LQProgressHUDMaskType::PassThrough);
}
void LQProgressHUD::showProgress(float progress, std::string status, LQProgressHUDMaskType maskType) {
    sharedView()->showProgressInView(progress, status, maskType);
}
void LQProgressHUD::showSuccessWithStatus(std::string status) {
    showImage(ui::imageNamed("LQProgressHUD.bundle/success"), std::move(status));
}
void LQProgressHUD::showErrorWithStatus(std::string status) {
    showImage(ui::imageNamed("LQProgressHUD.bundle/error"), std::move(status));
}
void LQProgressHUD::showImage(std::shared_ptr<const gfx::Image> image, std::string status) {
    const double duration = displayDurationForString(status);
    sharedView()->showImageInView(std::move(image), status, duration);
}
void LQProgressHUD::setStatus(std::string status) {
    sharedView()->setStatusText(status);
}
void LQProgressHUD::popActivity() {
    LQProgressHUD& hud = *sharedView();
    // A pop with no activity left would wrap the count round and never dismiss again.
    if (hud.m_activityCount == 0)
        return;
    if (--hud.m_activityCount == 0)
        dismiss();
}
void LQProgressHUD::dismiss() {
    sharedView()->dismissView();
}
bool LQProgressHUD::isVisible() {
    return sharedView()->alpha() == 1;
}

double LQProgressHUD::displayDurationForString(std::string_view status) {
    return double(status.size()) * 0.06 + 0.3;
}

// Appearance.

core::Color LQProgressHUD::hudBackgroundColor() {
    if (!m_looks.hudBackgroundColor)
        m_looks.hudBackgroundColor = appearance().hudBackgroundColor.value_or(core::Color::rgba(0, 0, 0, 0.8f));
    return *m_looks.hudBackgroundColor;
}
void LQProgressHUD::setHudBackgroundColor(const core::Color& color) {
    m_looks.hudBackgroundColor = color;
    if (m_hudView)
        static_cast<HudBox&>(*m_hudView).setFillColor(color);
}
core::Color LQProgressHUD::hudForegroundColor() {
    if (!m_looks.hudForegroundColor)
        m_looks.hudForegroundColor = appearance().hudForegroundColor.value_or(core::Color::white());
    return *m_looks.hudForegroundColor;
}
void LQProgressHUD::setHudForegroundColor(const core::Color& color) {
    m_looks.hudForegroundColor = color;
    if (m_stringLabel)
        m_stringLabel->setTextColor(color);
    if (m_spinnerView)
        m_spinnerView->setColor(color);
}
core::Color LQProgressHUD::hudStatusShadowColor() {
    if (!m_looks.hudStatusShadowColor)
        m_looks.hudStatusShadowColor = appearance().hudStatusShadowColor.value_or(core::Color::black());
    return *m_looks.hudStatusShadowColor;
}
void LQProgressHUD::setHudStatusShadowColor(const core::Color& color) {
    m_looks.hudStatusShadowColor = color;
    if (m_stringLabel)
        m_stringLabel->setShadow(statusShadow(color));
}
gfx::Font LQProgressHUD::hudFont() {
    if (!m_looks.hudFont)
        m_looks.hudFont = appearance().hudFont.value_or(gfx::Font::boldSystem(16));
    return *m_looks.hudFont;
}
void LQProgressHUD::setHudFont(const gfx::Font& font) {
    m_looks.hudFont = font;
    if (m_stringLabel)
        m_stringLabel->setFont(font);
}

// Parts, made when first asked for.

ui::Button& LQProgressHUD::overlayView() {
    if (!m_overlayView) {
        m_overlayView = ui::Button::create(mainScreenBounds());
        m_overlayView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
        m_overlayView->setBackgroundColor(core::Color::clear());
        m_overlayView->addTarget(ui::ControlEvent::TouchDown, [](ui::Control&) {
            notifications().post(std::string(LQProgressHUDDidReceiveTouchEventNotification));
        });
    }
    return *m_overlayView;
}

ui::View& LQProgressHUD::hudView() {
    if (!m_hudView) {
        auto box = HudBox::create();
        box->setFillColor(hudBackgroundColor());
        box->setAutoresizingMask(ui::AutoresizingMask::FlexibleLeftMargin | ui::AutoresizingMask::FlexibleRightMargin |
                                 ui::AutoresizingMask::FlexibleTopMargin | ui::AutoresizingMask::FlexibleBottomMargin);
        m_hudView = std::move(box);
        addSubview(m_hudView);
    }
    return *m_hudView;
}

ui::Label& LQProgressHUD::stringLabel() {
    if (!m_stringLabel) {
        m_stringLabel = ui::Label::create();
        m_stringLabel->setBackgroundColor(core::Color::clear());
        m_stringLabel->setAdjustsFontSizeToFitWidth(true);
        m_stringLabel->setTextAlignment(gfx::TextAlignment::Center);
        m_stringLabel->setTextColor(hudForegroundColor());
        m_stringLabel->setFont(hudFont());
        m_stringLabel->setShadow(statusShadow(hudStatusShadowColor()));
        m_stringLabel->setNumberOfLines(0);
    }
    if (!m_stringLabel->superview())
        hudView().addSubview(m_stringLabel);
    return *m_stringLabel;
}

ui::ImageView& LQProgressHUD::imageView() {
    if (!m_imageView)
        m_imageView = ui::ImageView::create({0, 0, 28, 28});
    if (!m_imageView->superview())
        hudView().addSubview(m_imageView);
    return *m_imageView;
}

ui::ActivityIndicatorView& LQProgressHUD::spinnerView() {
    if (!m_spinnerView) {
        m_spinnerView = ui::ActivityIndicatorView::create(ui::ActivityIndicatorView::Style::WhiteLarge);
        m_spinnerView->setHidesWhenStopped(true);
        m_spinnerView->setBounds({0, 0, 37, 37});
        m_spinnerView->setColor(hudForegroundColor());
    }
    if (!m_spinnerView->superview())
        hudView().addSubview(m_spinnerView);
    return *m_spinnerView;
}

ui::ShapeLayer& LQProgressHUD::backgroundRingLayer() {
    if (!m_backgroundRingLayer) {
        const core::Rect box = hudView().frame();
        m_backgroundRingLayer = ringLayerAt({box.midX(), box.midY()}, core::Color::white(1.0f / 3));
        m_backgroundRingLayer->setStrokeEnd(1);
        hudView().layer().addSublayer(m_backgroundRingLayer);
    }
    return *m_backgroundRingLayer;
}

ui::ShapeLayer& LQProgressHUD::ringLayer() {
    if (!m_ringLayer) {
        backgroundRingLayer(); // beneath the ring
        const core::Rect box = hudView().frame();
        m_ringLayer = ringLayerAt({box.midX(), box.midY()}, core::Color::white());
        hudView().layer().addSublayer(m_ringLayer);
    }
    return *m_ringLayer;
}

float LQProgressHUD::visibleKeyboardHeight() const {
    const ui::Application* application = ui::Application::current();
    return application ? application->window().dockedInputHeight() : 0;
}

// Showing.

void LQProgressHUD::showProgressInView(float progress, const std::string& status, LQProgressHUDMaskType maskType) {
    ui::Button& overlay = overlayView();
    if (!overlay.superview()) {
        if (ui::Application* application = ui::Application::current())
            application->window().addSubview(m_overlayView);
    }
    if (!superview()) {
        setFrame(overlay.bounds());
        overlay.addSubview(std::static_pointer_cast<LQProgressHUD>(shared_from_this()));
    }

    setFadeOutTimer(nullptr);
    imageView().setHidden(true);
    if (maskType != m_maskType)
        setNeedsDisplay();
    m_maskType = maskType;
    m_progress = progress;
    m_status = status;
    stringLabel().setText(status);
    updatePosition();

    if (progress >= 0) {
        imageView().setImage(nullptr);
        imageView().setHidden(false);
        spinnerView().stopAnimating();
        ringLayer().setStrokeEnd(progress);
        if (progress == 0)
            ++m_activityCount;
    } else {
        ++m_activityCount;
        cancelRingLayerAnimation();
        spinnerView().startAnimating();
    }

    overlay.setUserInteractionEnabled(maskType != LQProgressHUDMaskType::PassThrough);
    overlay.setHidden(false);
    positionHUD(nullptr);

    if (alpha() != 1) {
        registerNotifications();
        ui::View& box = hudView();
        box.setTransform(box.transform().scaled(kAppearScale, kAppearScale));
        ui::animate({.duration = kFadeDuration,
                     .options = ui::AnimationOptions::AllowUserInteraction | ui::AnimationOptions::BeginFromCurrentState},
                    [this, &box] {
                        box.setTransform(box.transform().scaled(1 / kAppearScale, 1 / kAppearScale));
                        setAlpha(1);
                    });
        setNeedsDisplay();
    }
}

void LQProgressHUD::showImageInView(std::shared_ptr<const gfx::Image> image, const std::string& status,
                                    double duration) {
    m_progress = -1;
    cancelRingLayerAnimation();
    if (!isVisible())
        show();
    imageView().setImage(std::move(image));
    imageView().setHidden(false);
    m_status = status;
    stringLabel().setText(status);
    updatePosition();
    spinnerView().stopAnimating();
    setFadeOutTimer(core::Timer::schedule(core::fromSeconds(duration), core::Timer::Repeat::Once,
                                          [](core::Timer&) { dismiss(); }));
}

void LQProgressHUD::setStatusText(const std::string& status) {
    m_status = status;
    stringLabel().setText(status);
    updatePosition();
}

void LQProgressHUD::setFadeOutTimer(std::shared_ptr<core::Timer> timer) {
    if (m_fadeOutTimer)
        m_fadeOutTimer->invalidate();
    m_fadeOutTimer = std::move(timer);
}

// Layout.

void LQProgressHUD::updatePosition() {
    ui::Label& label = stringLabel();
    ui::ImageView& image = imageView();
    // The top element is the image, the spinner (while the image view is hidden) or the ring, which
    // stands where the image would.
    const bool topShown = image.image() || image.isHidden() || m_progress >= 0;
    const bool hasText = !m_status.empty();

    float width = 100;
    float height = 100;
    core::Rect labelFrame;
    if (hasText) {
        core::Size text = gfx::measureText(gfx::AttributedText(m_status, label.font()), 200);
        text.height = std::min(text.height, 300.0f);
        height = text.height + (topShown ? 80 : 20);
        const float content = text.width > 100 ? 2 * std::ceil(text.width / 2) : 100;
        width = content + 24;
        labelFrame = height > 100 ? core::Rect{12, 0, content, text.height} : core::Rect{0, 0, width, text.height};
        labelFrame.origin.y = topShown ? 66 : 9;
    }
    hudView().setBounds({0, 0, width, height});
    const core::Point topCenter{width / 2, hasText ? 36.0f : height / 2};
    image.setCenter(topCenter);
    label.setHidden(false);
    label.setFrame(labelFrame);
    spinnerView().setCenter({std::ceil(width / 2) + 0.5f, hasText ? 40.5f : std::ceil(height / 2) + 0.5f});
    if (m_progress != -1) {
        ringLayer().setPosition(topCenter);
        backgroundRingLayer().setPosition(topCenter);
    }
}

void LQProgressHUD::positionHUD(const core::Notification* notification) {
    const ui::StatusBar& statusBar = ui::StatusBar::current();
    const ui::InterfaceOrientation orientation = statusBar.orientation;
    const bool landscape = ui::isLandscape(orientation);
    float keyboardHeight = 0;
    double duration = 0;
    if (notification) {
        if (const std::optional<ui::KeyboardInfo> keyboard = ui::KeyboardInfo::from(*notification)) {
            duration = keyboard->animationDuration;
            if (notification->name == ui::keyboardWillShowNotification ||
                notification->name == ui::keyboardDidShowNotification)
                keyboardHeight = landscape ? keyboard->frameBegin.width() : keyboard->frameBegin.height();
        }
    } else {
        keyboardHeight = visibleKeyboardHeight();
    }

    core::Size screen = mainScreenBounds().size;
    core::Size bar = statusBar.frame.size;
    if (landscape) {
        std::swap(screen.width, screen.height);
        std::swap(bar.width, bar.height);
    }
    float activeHeight = screen.height;
    if (keyboardHeight > 0)
        activeHeight += 2 * bar.height;
    const float y = std::floor((activeHeight - keyboardHeight) * 0.45f);
    const float x = screen.width / 2;

    core::Point point{x, y};
    float angle = 0;
    switch (orientation) {
    case ui::InterfaceOrientation::LandscapeLeft:
        point = {y, x};
        angle = -kPi / 2;
        break;
    case ui::InterfaceOrientation::LandscapeRight:
        point = {screen.height - y, x};
        angle = kPi / 2;
        break;
    case ui::InterfaceOrientation::PortraitUpsideDown:
        point = {x, screen.height - y};
        angle = kPi;
        break;
    case ui::InterfaceOrientation::Portrait:
        break;
    }
    if (!notification) {
        moveToPoint(point, angle);
        return;
    }
    ui::animate({.duration = duration, .options = ui::AnimationOptions::AllowUserInteraction},
                [weak = std::weak_ptr(std::static_pointer_cast<LQProgressHUD>(shared_from_this())), point, angle] {
                    if (const auto hud = weak.lock())
                        hud->moveToPoint(point, angle);
                });
}

void LQProgressHUD::moveToPoint(core::Point point, float angle) {
    hudView().setTransform(core::AffineTransform::makeRotation(angle));
    hudView().setCenter(point);
}

void LQProgressHUD::registerNotifications() {
    m_observations.clear();
    for (std::string_view name : {ui::statusBarOrientationDidChangeNotification, ui::keyboardWillHideNotification,
                                  ui::keyboardDidHideNotification, ui::keyboardWillShowNotification,
                                  ui::keyboardDidShowNotification})
        m_observations.push_back(notifications().addObserver(std::string(name), nullptr,
                                                      [this](const core::Notification& notification) {
                                                          positionHUD(&notification);
                                                      }));
}

// Dismissing.

core::Value LQProgressHUD::statusUserInfo() const {
    if (m_status.empty())
        return {};
    return core::Dictionary{{std::string(LQProgressHUDStatusUserInfoKey), m_status}};
}

void LQProgressHUD::dismissView() {
    notifications().post(std::string(LQProgressHUDWillDisappearNotification), nullptr, statusUserInfo());
    m_activityCount = 0;
    ui::View& box = hudView();
    ui::animate(
        {.duration = kFadeDuration,
         .options = ui::AnimationOptions::AllowUserInteraction | ui::AnimationOptions::BeginFromCurrentState},
        [this, &box] {
            box.setTransform(box.transform().scaled(0.8f, 0.8f));
            setAlpha(0);
        },
        [hud = std::static_pointer_cast<LQProgressHUD>(shared_from_this())](bool) {
            if (hud->alpha() != 0)
                return;
            hud->m_observations.clear();
            hud->cancelRingLayerAnimation();
            // Dropped, to be made anew by the next show (a second dismiss may have dropped them first).
            for (std::shared_ptr<ui::View> part : {std::exchange(hud->m_hudView, nullptr),
                                                   std::shared_ptr<ui::View>(std::exchange(hud->m_overlayView, nullptr))})
                if (part)
                    part->removeFromSuperview();
            notifications().post(std::string(LQProgressHUDDidDisappearNotification), nullptr, hud->statusUserInfo());
        });
}

void LQProgressHUD::cancelRingLayerAnimation() {
    if (m_hudView)
        m_hudView->layer().removeAllAnimations();
    for (std::shared_ptr<ui::ShapeLayer>* ring : {&m_ringLayer, &m_backgroundRingLayer}) {
        if (!*ring)
            continue;
        (*ring)->setStrokeEnd(0);
        (*ring)->removeFromSuperlayer();
        ring->reset();
    }
}

// Drawing.

void LQProgressHUD::draw(gfx::Canvas& canvas) {
    const core::Rect area = bounds();
    switch (m_maskType) {
    case LQProgressHUDMaskType::Gradient: {
        const core::Point middle{area.midX(), area.midY()};
        canvas.drawRadialGradient({{{0, core::Color::rgba(0, 0, 0, 0)}, {1, core::Color::rgba(0, 0, 0, 0.75f)}}},
                                  middle, 0, middle, std::min(area.width(), area.height()), {.afterEnd = true});
        break;
    }
    case LQProgressHUDMaskType::Dimmed:
        canvas.setFillColor(core::Color::rgba(0, 0, 0, 0.5f));
        canvas.fillRect(area);
        break;
    case LQProgressHUDMaskType::PassThrough:
    case LQProgressHUDMaskType::Clear:
        break;
    }
}

} // namespace zm
