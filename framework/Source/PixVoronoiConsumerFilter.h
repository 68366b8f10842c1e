#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// Colours a picture (the first input) by a Voronoi diagram (the second, as the jump-flooding filter
// makes it): each pixel takes the picture's colour at its cell's seed.
class PixVoronoiConsumerFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixVoronoiConsumerFilter> create();

    // The size the diagram's seed colours are measured in; a square power of two, else logged and not
    // sent.
    core::Size sizeInPixels() const;
    void setSizeInPixels(core::Size newValue);

protected:
    PixVoronoiConsumerFilter();

private:
    GLint m_sizeUniform = -1;
    core::Size m_sizeInPixels; // on the processing queue
};

} // namespace zm
