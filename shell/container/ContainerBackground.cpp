#include "framework/Source/PixStillBlur.h"
#include "platform/core/UserDefaults.h"
#include "platform/gfx/Image.h"
#include "platform/ui/BundleImages.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Snapshot.h"
#include "shell/app/Bundle.h"
#include "shell/container/BackgroundView.h"
#include "shell/container/BubbleTuning.h"
#include "shell/container/BubbleView.h"
#include "shell/container/ContainerViewController.h"
#include "shell/container/HueRotation.h"

#include <cmath>
#include <numbers>

namespace zm {

namespace {

// Behind the screens' panels the background is blurred with a spacing of 20 of the screen's pixels and
// darkened by 0.1 on each colour channel.
constexpr float kPanelBlurSize = 20;
constexpr float kPanelBrightness = -0.1f;
// The blur works on a picture of one pixel per point, whatever the screen's scale: its samples lie
// several points apart and the background's own picture is soft, so a finer picture would blur to the
// same panel, for four times the pixels at scale 2.
constexpr float kPanelBlurScale = 1;

} // namespace

float ContainerViewController::parallaxShare() const {
    const float share = BubbleTuning::read(core::UserDefaults::standard()).parallaxPerc / 100;
    return share == 0 ? 0.6f : share;
}

void ContainerViewController::setupBackground() {
    if (const std::shared_ptr<BackgroundView> background = glkView())
        background->setImage(ui::imageNamedLater("background"));
    drawColorPerc(float(m_perc));
}

void ContainerViewController::drawColorPerc(float perc) {
    if (const std::shared_ptr<BackgroundView> background = glkView())
        background->displayHueAngle(double(perc) * std::numbers::pi * 2);
}

void ContainerViewController::setColorPerc(float perc) {
    // The full-screen picture is turned again only when the position passes a whole percent.
    if (std::trunc(m_perc * 100) != std::trunc(perc * 100)) {
        m_perc = perc;
        drawColorPerc(float(m_perc));
    }
    if (m_bubbleView) {
        const float width = view()->bounds().width();
        const float extra = width * (1 + parallaxShare()) - width;
        const core::Rect& bounds = m_bubbleView->bounds();
        m_bubbleView->setFrame({-extra * perc, 0, bounds.width(), bounds.height()});
    }
}

core::Color ContainerViewController::getPixelColor() const {
    return tintForPerc(m_perc);
}

std::shared_ptr<const gfx::Image> ContainerViewController::bigBlurBackgroundImage() {
    const std::shared_ptr<BackgroundView> background = glkView();
    if (!background)
        return nullptr;
    const std::shared_ptr<const gfx::Image> sharp = ui::snapshotImage(*background, kPanelBlurScale);
    if (!sharp)
        return nullptr;
    const float blurSize = kPanelBlurSize * kPanelBlurScale / ui::Device::current().scale;
    // A spacing between pixels needs OpenGL ES; without it the panels show the background sharp.
    std::shared_ptr<const gfx::Image> blurred = blurStillImage(*sharp, blurSize, kPanelBrightness);
    return blurred ? blurred : sharp;
}

std::shared_ptr<ui::ImageView> ContainerViewController::blurBackgroundBottomPiece(float height) {
    const core::Size size = view()->bounds().size;
    std::shared_ptr<ui::ImageView> piece = ui::ImageView::create({0, 0, size.width, height});
    if (const std::shared_ptr<const gfx::Image> blurred = bigBlurBackgroundImage()) {
        const float scale = blurred->scale();
        piece->setImage(
            blurred->cropped({0, scale * (size.height - height), scale * size.width, scale * height}));
    }
    return piece;
}

void ContainerViewController::pushBubbles() {
    if (m_bubbleView)
        m_bubbleView->pushBubbles();
}

void ContainerViewController::resetBubbles() {
    if (!m_bubbleView)
        return;
    // Unlike the layer's making, a stored 0 counts as no extra width here.
    const core::Size size = view()->bounds().size;
    const float share = BubbleTuning::read(core::UserDefaults::standard()).parallaxPerc / 100;
    m_bubbleView->setFrame({0, 0, size.width * (1 + share), size.height});
    m_bubbleView->reset();
}

} // namespace zm
