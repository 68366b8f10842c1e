#pragma once

#include <memory>

namespace gfx {
class Image;
}

namespace ui {
class Button;
}

namespace zm {

// The long division's stretchable artwork and its confirm button. Each image is the bundle's image of
// that name made stretchable with fixed cap insets (the corners inside them unscaled), a new object
// every time; a missing image is null, and so is its stretchable variant. Never instantiated.
class QVImageMaster {
public:
    QVImageMaster() = delete;

    static std::shared_ptr<const gfx::Image> unselectedSegmentImage();
    static std::shared_ptr<const gfx::Image> goButtonBackgroundImage();
    static std::shared_ptr<const gfx::Image> whiteButtonBackgroundImage();
    static std::shared_ptr<const gfx::Image> paperBackgroundResizable();
    static std::shared_ptr<const gfx::Image> paperBackgroundImage();
    static std::shared_ptr<const gfx::Image> paperBackgroundNoLinesImage();
    static std::shared_ptr<const gfx::Image> blackBackButtonImage();
    static std::shared_ptr<const gfx::Image> bigSegmentImage();

    // A new button, 110 x 70 at the origin, with a white "✓" in the system font at 44 points on the
    // stretched go-button background. No action: each caller adds its own.
    static std::shared_ptr<ui::Button> makeGoButton();

    // Installs the long division's look of toolbars and segmented controls as process-wide defaults
    // (see the source for the list).
    static void setLongDivisionStyle();
};

} // namespace zm
