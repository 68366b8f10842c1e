#pragma once

#include "framework/Source/PixDistortionFilter.h"

namespace zm {

// Coarsens the picture into blocks of a polar grid about the centre: rings `pixelSize.width` apart
// and sectors of `pixelSize.height` radians.
class PixPolarPixellateFilter : public PixDistortionFilter {
public:
    static std::shared_ptr<PixPolarPixellateFilter> create();

    // (0.05, 0.05) at first.
    core::Size pixelSize() const;
    void setPixelSize(core::Size newValue);

protected:
    PixPolarPixellateFilter();

private:
    GLint m_pixelSizeUniform = -1;
    core::Size m_pixelSize{0.05f, 0.05f}; // on the processing queue
};

} // namespace zm
