#include "framework/UI/PixUIElement.h"

#include "framework/Source/PixContext.h"
#include "framework/Source/PixFilter.h"
#include "platform/core/MainLoop.h"
#include "platform/gfx/Image.h"
#include "platform/ui/Device.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/View.h"

#include <cassert>

namespace zm {

std::shared_ptr<PixUIElement> PixUIElement::create(std::shared_ptr<ui::View> inputView) {
    assert(inputView);
    std::shared_ptr<ui::Layer> layer(inputView, &inputView->layer());
    std::shared_ptr<PixUIElement> element(new PixUIElement(std::move(inputView), std::move(layer)));
    element->update();
    return element;
}

std::shared_ptr<PixUIElement> PixUIElement::create(std::shared_ptr<ui::Layer> inputLayer) {
    assert(inputLayer);
    std::shared_ptr<PixUIElement> element(new PixUIElement(nullptr, std::move(inputLayer)));
    element->update();
    return element;
}

PixUIElement::PixUIElement(std::shared_ptr<ui::View> inputView, std::shared_ptr<ui::Layer> inputLayer)
    : m_view(std::move(inputView))
    , m_layer(std::move(inputLayer)) {}

core::Size PixUIElement::layerSizeInPixels() const {
    const core::Size points = m_layer->bounds().size;
    const float scale = ui::Device::current().scale;
    return {points.width * scale, points.height * scale};
}

void PixUIElement::update() {
    const double now = core::currentClock()->mediaTime();
    m_time = m_time.isValid() ? PixFrameTime::seconds(m_time.inSeconds() + (now - m_actualTimeOfLastUpdate))
                              : PixFrameTime::seconds(0);
    m_actualTimeOfLastUpdate = now;

    // Drawn here, where views live; the picture is top row first, as textures are uploaded.
    const auto picture = ui::Renderer::snapshot(*m_layer, ui::Device::current().scale);
    const gfx::Bitmap* pixels = picture ? &picture->bitmap() : nullptr;
    const core::Size size = pixels ? core::Size{float(pixels->width()), float(pixels->height())} : core::Size{};

    initializeOutputTextureIfNeeded();
    runSynchronouslyOnContextQueue([&] {
        if (!PixContext::useImageProcessingContext() || !pixels)
            return;
        assert(pixels->bytesPerRow() == pixels->width() * 4);
        glBindTexture(GL_TEXTURE_2D, m_outputTexture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, pixels->width(), pixels->height(), 0, GL_BGRA_EXT,
                     GL_UNSIGNED_BYTE, pixels->bytes());
        glBindTexture(GL_TEXTURE_2D, 0);

        const auto targets = m_targets;
        const auto textureIndices = m_targetTextureIndices;
        for (std::size_t position = 0; position < targets.size(); ++position) {
            if (targets[position].get() == targetToIgnoreForUpdates())
                continue;
            targets[position]->setInputSize(size, textureIndices[position]);
            targets[position]->newFrameReadyAtTime(m_time, textureIndices[position]);
        }
    });
}

} // namespace zm
