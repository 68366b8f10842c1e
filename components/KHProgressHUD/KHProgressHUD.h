#pragma once

#include "platform/core/NotificationCenter.h"
#include "platform/gfx/Font.h"
#include "platform/ui/View.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace core {
class Timer;
}

namespace ui {
class Label;
}

namespace zm {

class KHProgressHUD;

enum class KHProgressHUDMode {
    Spinner = 0,    // a large white activity indicator, spinning
    Pie = 1,        // a round progress view filling as a pie
    Ring = 2,       // a round progress view drawn as a ring
    CustomView = 3, // the custom view
    TextOnly = 4,   // no indicator
};

enum class KHProgressHUDAnimation {
    Fade = 0, // alpha only
    Zoom = 1, // alpha and scale
};

class KHProgressHUDDelegate {
public:
    virtual ~KHProgressHUDDelegate() = default;
    // Hiding has finished.
    virtual void hudWasHidden(KHProgressHUD&) {}
};

// A progress overlay: a transparent view covering its superview that draws, at its centre, a rounded
// dark panel with an indicator (spinner, pie, ring or a custom view) above a label and a details
// label. It takes no touches, so the views beneath stay usable.
//
// It appears at once, fading or zooming in; with a grace time, only if the task under it still runs
// when the grace time is over; and once shown it stays at least the minimum show time.
//
// Views are main-thread only, but the properties may be set from any thread: a change made on another
// thread reaches the labels and the indicator on the main queue.
class KHProgressHUD : public ui::View {
public:
    // An invisible overlay over `frame`.
    static std::shared_ptr<KHProgressHUD> create(const core::Rect& frame);
    // An invisible overlay over the bounds of `view` (a zero rectangle without one).
    static std::shared_ptr<KHProgressHUD> create(const ui::View* view);
    ~KHProgressHUD() override;

    // A new overlay added to `view` and shown.
    static std::shared_ptr<KHProgressHUD> showHUDAddedTo(ui::View& view, bool animated);
    // Hides the last overlay of `view` and removes it once hidden; answers whether there was one.
    static bool hideHUDForView(ui::View& view, bool animated);
    // The same for every overlay of `view`; answers how many there were.
    static int hideAllHUDsForView(ui::View& view, bool animated);
    // The last of the direct subviews of `view` that is an overlay, or null.
    static std::shared_ptr<KHProgressHUD> HUDForView(const ui::View& view);
    // Every direct subview of `view` that is an overlay, in subview order.
    static std::vector<std::shared_ptr<KHProgressHUD>> allHUDsForView(const ui::View& view);

    void show(bool animated);
    void hide(bool animated);
    // Hides after `delay` seconds.
    void hide(bool animated, double delay);
    // Shows the overlay while `task` runs on a thread of its own, then hides it on the main queue.
    void showWhileExecuting(std::function<void()> task, bool animated);

    KHProgressHUDMode mode() const;
    void setMode(KHProgressHUDMode mode);
    KHProgressHUDAnimation animationType() const;
    void setAnimationType(KHProgressHUDAnimation type);
    // The indicator of the custom-view mode.
    std::shared_ptr<ui::View> customView() const;
    void setCustomView(std::shared_ptr<ui::View> view);
    std::shared_ptr<KHProgressHUDDelegate> delegate() const;
    void setDelegate(std::weak_ptr<KHProgressHUDDelegate> delegate);
    std::string labelText() const;
    void setLabelText(std::string text);
    std::string detailsLabelText() const;
    void setDetailsLabelText(std::string text);
    gfx::Font labelFont() const;
    void setLabelFont(const gfx::Font& font);
    gfx::Font detailsLabelFont() const;
    void setDetailsLabelFont(const gfx::Font& font);
    // Alpha of the black panel.
    float opacity() const;
    void setOpacity(float opacity);
    // Shift of the panel and its contents from the centre.
    float xOffset() const;
    void setXOffset(float offset);
    float yOffset() const;
    void setYOffset(float offset);
    // Space between the panel's edge and its contents.
    float margin() const;
    void setMargin(float margin);
    // A radial darkening over the whole overlay.
    bool dimBackground() const;
    void setDimBackground(bool dim);
    // Seconds before a shown overlay becomes visible, while a task is in progress.
    float graceTime() const;
    void setGraceTime(float seconds);
    // Shortest time an overlay stays visible once shown.
    float minShowTime() const;
    void setMinShowTime(float seconds);
    bool taskInProgress() const;
    void setTaskInProgress(bool inProgress);
    bool removeFromSuperViewOnHide() const;
    void setRemoveFromSuperViewOnHide(bool remove);
    // Progress handed to the indicator, 0 to 1.
    float progress() const;
    void setProgress(float progress);
    // Smallest panel size.
    core::Size minSize() const;
    void setMinSize(core::Size size);
    // Whether the panel is made square where it fits.
    bool isSquare() const;
    void setSquare(bool square);

    // The panel's size after the last layout.
    core::Size size() const;
    // The indicator shown now (null in the text-only mode and once a task has ended).
    ui::View* indicator() const { return m_indicator.get(); }
    ui::Label& label() const { return *m_label; }
    ui::Label& detailsLabel() const { return *m_detailsLabel; }
    // When the overlay last became visible, in media time; nothing while hidden.
    std::optional<double> showStarted() const { return m_showStarted; }

protected:
    explicit KHProgressHUD(const core::Rect& frame);

    void layoutSubviews() override;
    void draw(gfx::Canvas& canvas) override;
    void didMoveToSuperview() override;

private:
    // What the views show of the properties that change them.
    enum class KeyPath { Mode, CustomView, LabelText, LabelFont, DetailsLabelText, DetailsLabelFont, Progress };

    struct Properties {
        KHProgressHUDMode mode = KHProgressHUDMode::Spinner;
        KHProgressHUDAnimation animationType = KHProgressHUDAnimation::Fade;
        std::shared_ptr<ui::View> customView;
        std::weak_ptr<KHProgressHUDDelegate> delegate;
        std::string labelText;
        std::string detailsLabelText;
        gfx::Font labelFont = gfx::Font::boldSystem(16);
        gfx::Font detailsLabelFont = gfx::Font::boldSystem(12);
        float opacity = 0.8f;
        float xOffset = 0;
        float yOffset = 0;
        float margin = 20;
        bool dimBackground = false;
        float graceTime = 0;
        float minShowTime = 0;
        bool taskInProgress = false;
        bool removeFromSuperViewOnHide = false;
        float progress = 0;
        core::Size minSize;
        bool square = false;
        core::Size size;
    };

    template <class T> T get(T Properties::*member) const;
    template <class T> void set(T Properties::*member, T value);
    // Brings the views up to date with a property, at once on the main thread, else on the main queue.
    void changed(KeyPath keyPath);
    void updateUI(KeyPath keyPath);
    void updateIndicators();

    void showUsingAnimation(bool animated);
    void hideUsingAnimation(bool animated);
    void done();
    void cleanUp();
    void setTransformForCurrentOrientation(bool animated);
    std::shared_ptr<KHProgressHUD> self();

    mutable std::mutex m_mutex;
    Properties m_properties; // guarded by m_mutex

    std::shared_ptr<ui::View> m_indicator;
    std::shared_ptr<ui::Label> m_label;
    std::shared_ptr<ui::Label> m_detailsLabel;
    std::shared_ptr<core::Timer> m_graceTimer;
    std::shared_ptr<core::Timer> m_minShowTimer;
    std::optional<double> m_showStarted;
    // Each show starts a new one, so that the end of an earlier hide's fade leaves a later show alone.
    unsigned m_showCount = 0;
    bool m_useAnimation = false;
    core::AffineTransform m_rotationTransform;
    core::NotificationCenter::Observation m_orientationObservation;
};

} // namespace zm
