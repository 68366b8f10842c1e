#pragma once

#include "platform/core/Color.h"
#include "platform/core/Geometry.h"
#include "platform/gfx/Font.h"
#include "platform/ui/Control.h"

#include <map>
#include <memory>
#include <optional>

namespace gfx {
class Image;
}

namespace ui {

// The kinds of bar controls a style kit gives process-wide defaults to.
enum class AppearanceClass { Toolbar, BarButtonItem, SegmentedControl };

// Which controls a default is for: every control of a kind, or only those inside a container of a
// kind, in one state.
struct AppearanceKey {
    AppearanceClass control;
    std::optional<AppearanceClass> container;
    ControlState state = ControlState::Normal;

    friend auto operator<=>(const AppearanceKey&, const AppearanceKey&) = default;
};

// How a control's titles are drawn: font, colour and a shadow (no offset: the control's own).
struct TitleTextAttributes {
    gfx::Font font;
    core::Color color;
    core::Color shadowColor;
    std::optional<core::Size> shadowOffset;
};

// The process-wide look defaults of bar controls, filled by a game's style kit. The controls of this
// platform draw with their own defaults and read nothing from it yet; it keeps what a kit asks for
// so that a control that learns to read it gets the kit's look. Main thread only.
class Appearance {
public:
    static Appearance& shared();

    void setBackgroundImage(const AppearanceKey& key, std::shared_ptr<const gfx::Image> image);
    std::shared_ptr<const gfx::Image> backgroundImage(const AppearanceKey& key) const;
    // The image between two segments of a segmented control.
    void setDividerImage(const AppearanceKey& key, std::shared_ptr<const gfx::Image> image);
    std::shared_ptr<const gfx::Image> dividerImage(const AppearanceKey& key) const;
    void setTitleTextAttributes(const AppearanceKey& key, TitleTextAttributes attributes);
    std::optional<TitleTextAttributes> titleTextAttributes(const AppearanceKey& key) const;
    // Forgets every default.
    void reset();

private:
    struct Entry {
        std::shared_ptr<const gfx::Image> background;
        std::shared_ptr<const gfx::Image> divider;
        std::optional<TitleTextAttributes> titles;
    };
    const Entry* find(const AppearanceKey& key) const;

    std::map<AppearanceKey, Entry> m_entries;
};

} // namespace ui
