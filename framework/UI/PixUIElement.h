#pragma once

#include "framework/Source/PixOutput.h"

#include <memory>

namespace ui {
class Layer;
class View;
} // namespace ui

namespace zm {

// A source made of a view, or of a bare layer, drawn by the platform renderer at the screen's scale each
// time update() is called, and pushed to the targets as one frame. Frame times start at 0 and advance by
// the time that passed on the clock between updates.
//
// Threads: the main thread's, as the views it draws; the upload and the push wait for the processing
// queue.
class PixUIElement : public PixOutput {
public:
    static std::shared_ptr<PixUIElement> create(std::shared_ptr<ui::View> inputView);
    static std::shared_ptr<PixUIElement> create(std::shared_ptr<ui::Layer> inputLayer);

    // The layer's bounds at the screen's scale.
    core::Size layerSizeInPixels() const;
    // Draws the layer now and pushes the picture.
    void update();

private:
    PixUIElement(std::shared_ptr<ui::View> inputView, std::shared_ptr<ui::Layer> inputLayer);

    const std::shared_ptr<ui::View> m_view; // null when made from a layer
    const std::shared_ptr<ui::Layer> m_layer;
    PixFrameTime m_time;            // of the last update
    double m_actualTimeOfLastUpdate = 0; // on the clock, seconds
};

} // namespace zm
