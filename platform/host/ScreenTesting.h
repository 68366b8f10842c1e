#pragma once

// Helpers for the tests of screens: finding what a person would tap, tapping it, and keeping pictures
// of screens for a look by eye.

#include "platform/core/FileLocations.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Png.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace host::testing {

// The first button in `view`'s tree whose title now reads `title`.
inline ui::Button* findButton(ui::View& view, const std::string& title) {
    if (auto* button = dynamic_cast<ui::Button*>(&view); button && button->currentTitle() == title)
        return button;
    for (const std::shared_ptr<ui::View>& subview : view.subviews()) {
        if (ui::Button* found = findButton(*subview, title))
            return found;
    }
    return nullptr;
}

// Whether a label in `view`'s tree reads `text`.
inline bool findText(const ui::View& view, const std::string& text) {
    if (const auto* label = dynamic_cast<const ui::Label*>(&view); label && label->text() == text)
        return true;
    return std::any_of(view.subviews().begin(), view.subviews().end(),
                       [&text](const std::shared_ptr<ui::View>& subview) { return findText(*subview, text); });
}

// The middle of `view`, in window coordinates.
inline core::Point middleInWindow(const ui::View& view) {
    const core::Rect frame = view.convertRectToView(view.bounds(), nullptr);
    return {frame.midX(), frame.midY()};
}

// A short tap of one finger at `point` (window coordinates).
inline void tap(HeadlessHost& host, core::Point point) {
    host.touchDown(point);
    host.advance(0.05);
    host.touchUp(point);
}

// The window's picture now, also written as NAME.png in the temporary folder's "screenshots".
inline std::shared_ptr<const gfx::Image> keepScreenshot(HeadlessHost& host, const std::string& name) {
    std::shared_ptr<const gfx::Image> frame = host.screenshot();
    const std::filesystem::path folder = core::FileLocations::shared().temporary / "screenshots";
    std::filesystem::create_directories(folder);
    const std::vector<std::uint8_t> png = gfx::encodePng(*frame);
    std::ofstream(folder / (name + ".png"), std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    return frame;
}

// That something is drawn within `view` (in `frame`, a picture of the window at `scale`) with strong
// contrast, as text is: both light and dark pixels.
inline void expectLegible(const gfx::Image& frame, const ui::View& view, float scale) {
    const core::Rect area = view.convertRectToView(view.bounds(), nullptr);
    int lightest = 0, darkest = 255;
    const gfx::Bitmap& bitmap = frame.bitmap();
    for (int y = std::max(0, int(area.minY() * scale));
         y < std::min(bitmap.height(), int(area.maxY() * scale)); ++y) {
        for (int x = std::max(0, int(area.minX() * scale));
             x < std::min(bitmap.width(), int(area.maxX() * scale)); ++x) {
            const gfx::Pixel pixel = bitmap.pixel(x, y);
            const int brightness = (pixel.red + pixel.green + pixel.blue) / 3;
            lightest = std::max(lightest, brightness);
            darkest = std::min(darkest, brightness);
        }
    }
    EXPECT_GT(lightest - darkest, 120)
        << "in " << area.minX() << ", " << area.minY() << ", " << area.width() << " x " << area.height();
}

} // namespace host::testing
