#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Draws a histogram picture (PixHistogramFilter's 256 x 3) as a bar chart, one column per value and a
// bar per channel in its colour, over a background colour (transparent at first). The chart is as large
// as the filter is made to process at (forceProcessingAtSize).
class PixHistogramGenerator : public PixFilter {
public:
    static std::shared_ptr<PixHistogramGenerator> create();

    void setBackgroundColorRed(GLfloat redComponent, GLfloat greenComponent, GLfloat blueComponent,
                               GLfloat alphaComponent);

protected:
    PixHistogramGenerator();

private:
    GLint m_backgroundColorUniform = -1;
};

} // namespace zm
