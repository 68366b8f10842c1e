#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Nine samples along the line to "blurCenter", a step of blurSize / 100 of the way apart, with the
// Gaussian's weights.
extern const char* const PixZoomBlurFragmentShader;

// A blur towards and away from a centre, as of a zoom during the exposure.
class PixZoomBlurFilter : public PixFilter {
public:
    static std::shared_ptr<PixZoomBlurFilter> create();

    // 1 at first.
    float blurSize() const;
    void setBlurSize(float newValue);
    // In the picture, 0 to 1 each way; (0.5, 0.5) at first. It follows the input's turn.
    core::Point blurCenter() const;
    void setBlurCenter(core::Point newValue);

    void setInputRotation(PixInputRotation newInputRotation, int textureIndex) override;

protected:
    PixZoomBlurFilter();

private:
    GLint m_blurSizeUniform = -1;
    GLint m_blurCenterUniform = -1;
    // On the processing queue.
    float m_blurSize = 1.0f;
    core::Point m_blurCenter{0.5f, 0.5f};
};

} // namespace zm
