#pragma once

// Test support: a headless host with a playground view over the whole window, and helpers that look
// at what it draws.

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Image.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Window.h"
#include "playground/PlaygroundView.h"
#include "playground/views/ExprView.h"
#include "playground/views/GenericLabel.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zm::testing {

// The window's picture, also written to renders/<name>.png beside the test program so that a person
// can look at it.
inline std::shared_ptr<const gfx::Image> renderWindow(host::HeadlessHost& host, const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::canonical("/proc/self/exe").parent_path() / "renders";
    std::filesystem::create_directories(folder);
    (void)host.writeScreenshot(folder / (name + ".png"));
    return host.screenshot();
}

// A headless device with a playground view filling its window. Time moves only when the test says.
class PlaygroundStage {
public:
    explicit PlaygroundStage(ui::Idiom idiom = ui::Idiom::Tablet)
        : host(ui::Device{idiom, 1}) {
        playgroundView = PlaygroundView::create(host.window().bounds());
        host.window().addSubview(playgroundView);
    }

    core::Point center() const {
        const core::Rect bounds = playgroundView->bounds();
        return {bounds.midX(), bounds.midY()};
    }

    // The view tree of `expr`, fitted into the playground view and centred in it, on screen.
    ExprViewPtr show(Expr& expr) {
        ExprViewPtr view = makeExprView(expr, *playgroundView, nullptr);
        view->fitIntoRect(playgroundView->bounds(), false);
        view->moveTo(center(), AnchorCenter);
        for (const std::shared_ptr<ui::View>& platformView : view->getViewList())
            playgroundView->addSubview(platformView);
        return view;
    }

    // The window's picture (see renderWindow).
    std::shared_ptr<const gfx::Image> render(const std::string& name) { return renderWindow(host, name); }

    host::HeadlessHost host;
    std::shared_ptr<PlaygroundView> playgroundView;
};

// Whether a pixel is ink: bright on the black window.
inline bool isInk(const gfx::Pixel& pixel) {
    return pixel.red + pixel.green + pixel.blue > 3 * 96;
}

// The pixels of ink inside `rect` (in points of a picture at scale 1).
inline int inkIn(const gfx::Image& image, const core::Rect& rect) {
    int count = 0;
    const core::Rect area = rect.integral();
    for (int y = int(area.minY()); y < int(area.maxY()); ++y) {
        for (int x = int(area.minX()); x < int(area.maxX()); ++x) {
            if (x >= 0 && y >= 0 && x < image.pixelWidth() && y < image.pixelHeight() &&
                isInk(image.bitmap().pixel(x, y)))
                ++count;
        }
    }
    return count;
}

} // namespace zm::testing

namespace zm::testing {

// What a person would call a legible drawing of an expression view: every label that shows has ink
// inside its frame, no label covers much of another, and nothing is drawn away from the expression.
inline ::testing::AssertionResult isLegible(const gfx::Image& image, const ExprView& view) {
    std::vector<std::shared_ptr<GenericLabel>> labels;
    core::Rect extent = core::Rect::null();
    for (const std::shared_ptr<ui::View>& platformView : view.getViewList()) {
        if (platformView->alpha() <= 0)
            continue;
        extent = extent.united(platformView->frame());
        if (auto label = std::dynamic_pointer_cast<GenericLabel>(platformView)) {
            if (!label->text().empty())
                labels.push_back(label);
        } else if (inkIn(image, platformView->frame()) == 0) {
            return ::testing::AssertionFailure() << "a view at " << platformView->frame().minX() << ", "
                                                 << platformView->frame().minY() << " draws nothing";
        }
    }
    if (labels.empty())
        return ::testing::AssertionFailure() << "no label shows";
    for (size_t i = 0; i < labels.size(); ++i) {
        const core::Rect frame = labels[i]->frame();
        if (inkIn(image, frame) == 0)
            return ::testing::AssertionFailure() << "label \"" << labels[i]->text() << "\" draws nothing";
        for (size_t j = i + 1; j < labels.size(); ++j) {
            // A raised exponent may reach into the gap after its term: a corner, never a quarter.
            const core::Rect other = labels[j]->frame();
            const core::Rect overlap = frame.intersected(other);
            const float smaller = std::min(frame.width() * frame.height(), other.width() * other.height());
            if (!overlap.isNull() && overlap.width() * overlap.height() > smaller / 4)
                return ::testing::AssertionFailure() << "labels \"" << labels[i]->text() << "\" and \""
                                                     << labels[j]->text() << "\" overlap";
        }
    }
    const int inside = inkIn(image, extent.insetBy(-10, -10));
    const int everywhere = inkIn(image, {0, 0, float(image.pixelWidth()), float(image.pixelHeight())});
    if (inside != everywhere)
        return ::testing::AssertionFailure()
               << everywhere - inside << " pixels of ink away from the expression";
    return ::testing::AssertionSuccess();
}

} // namespace zm::testing
