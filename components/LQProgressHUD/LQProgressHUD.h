#pragma once

#include "platform/core/NotificationCenter.h"
#include "platform/gfx/Font.h"
#include "platform/ui/View.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {
class Timer;
}

namespace gfx {
class Image;
}

namespace ui {
class ActivityIndicatorView;
class Button;
class ImageView;
class Label;
class ShapeLayer;
} // namespace ui

namespace zm {

enum class LQProgressHUDMaskType : std::uint32_t {
    PassThrough = 1, // touches reach the views behind
    Clear = 2,       // touches blocked, nothing drawn
    Dimmed = 3,      // black at half alpha over the whole screen
    Gradient = 4,    // a radial darkening over the whole screen
};

// Posted on the default notification centre without a sender: a touch landed on the overlay
// (masks 2 to 4), and the overlay starts and ends disappearing (with the status, when there is one,
// under the key below).
inline constexpr std::string_view LQProgressHUDDidReceiveTouchEventNotification =
    "LQProgressHUDDidReceiveTouchEventNotification";
inline constexpr std::string_view LQProgressHUDWillDisappearNotification = "LQProgressHUDWillDisappearNotification";
inline constexpr std::string_view LQProgressHUDDidDisappearNotification = "LQProgressHUDDidDisappearNotification";
inline constexpr std::string_view LQProgressHUDStatusUserInfoKey = "LQProgressHUDStatusUserInfoKey";

// Looks shared by every status overlay, used where the overlay has none of its own.
struct LQProgressHUDAppearance {
    std::optional<core::Color> hudBackgroundColor;
    std::optional<core::Color> hudForegroundColor;
    std::optional<core::Color> hudStatusShadowColor;
    std::optional<gfx::Font> hudFont;
};

// The status overlay: one view for the whole process that covers the screen and shows, in a dark
// rounded box, a spinner, a progress ring or a small image above an optional status text. It is
// driven through class operations, fades in and out, and rises above a docked keyboard. Each show
// without progress (or at progress 0) is an activity that popActivity ends; the overlay goes when the
// last one has.
//
// Main thread only.
class LQProgressHUD : public ui::View {
public:
    static std::shared_ptr<LQProgressHUD> sharedView();
    static LQProgressHUDAppearance& appearance();

    static void show();
    static void showWithStatus(std::string status);
    static void showWithMaskType(LQProgressHUDMaskType maskType);
    static void showWithStatus(std::string status, LQProgressHUDMaskType maskType);
    static void showProgress(float progress);
    static void showProgress(float progress, std::string status);
    static void showProgress(float progress, std::string status, LQProgressHUDMaskType maskType);
    static void showSuccessWithStatus(std::string status);
    static void showErrorWithStatus(std::string status);
    // Shows `image` with the status for as long as the status takes to read, then dismisses.
    static void showImage(std::shared_ptr<const gfx::Image> image, std::string status);
    static void setStatus(std::string status);
    // Ends one activity; the overlay goes when none is left. Without activities nothing happens.
    static void popActivity();
    static void dismiss();
    static bool isVisible();

    // Seconds a status is shown after a success or an error: 0.06 a character, plus 0.3.
    static double displayDurationForString(std::string_view status);

    ui::Button& overlayView();
    ui::View& hudView();
    ui::Label& stringLabel();
    ui::ImageView& imageView();
    ui::ActivityIndicatorView& spinnerView();
    ui::ShapeLayer& ringLayer();
    ui::ShapeLayer& backgroundRingLayer();
    LQProgressHUDMaskType maskType() const { return m_maskType; }
    const std::shared_ptr<core::Timer>& fadeOutTimer() const { return m_fadeOutTimer; }
    // The height the docked keyboard takes at the bottom of the window.
    float visibleKeyboardHeight() const;
    // -1 while the spinner turns.
    float progress() const { return m_progress; }
    std::uint32_t activityCount() const { return m_activityCount; }

    // Looks: the overlay's own, else the appearance's, else the defaults. Setting one restyles the
    // parts already made.
    core::Color hudBackgroundColor();
    void setHudBackgroundColor(const core::Color& color);
    core::Color hudForegroundColor();
    void setHudForegroundColor(const core::Color& color);
    core::Color hudStatusShadowColor();
    void setHudStatusShadowColor(const core::Color& color);
    gfx::Font hudFont();
    void setHudFont(const gfx::Font& font);

protected:
    explicit LQProgressHUD(const core::Rect& frame);

    void draw(gfx::Canvas& canvas) override;

private:
    void showProgressInView(float progress, const std::string& status, LQProgressHUDMaskType maskType);
    void showImageInView(std::shared_ptr<const gfx::Image> image, const std::string& status,
                         double duration);
    void dismissView();
    void setStatusText(const std::string& status);
    void updatePosition();
    void positionHUD(const core::Notification* notification);
    void moveToPoint(core::Point point, float angle);
    void registerNotifications();
    void cancelRingLayerAnimation();
    void setFadeOutTimer(std::shared_ptr<core::Timer> timer);
    core::Value statusUserInfo() const;

    std::shared_ptr<ui::Button> m_overlayView;
    std::shared_ptr<ui::View> m_hudView;
    std::shared_ptr<ui::Label> m_stringLabel;
    std::shared_ptr<ui::ImageView> m_imageView;
    std::shared_ptr<ui::ActivityIndicatorView> m_spinnerView;
    std::shared_ptr<ui::ShapeLayer> m_ringLayer;
    std::shared_ptr<ui::ShapeLayer> m_backgroundRingLayer;
    LQProgressHUDMaskType m_maskType = LQProgressHUDMaskType::PassThrough;
    std::shared_ptr<core::Timer> m_fadeOutTimer;
    std::string m_status; // empty: none
    float m_progress = -1;
    std::uint32_t m_activityCount = 0;
    LQProgressHUDAppearance m_looks;
    std::vector<core::NotificationCenter::Observation> m_observations;
};

} // namespace zm
