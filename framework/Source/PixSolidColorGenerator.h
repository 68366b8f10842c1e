#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// A picture of one colour. Forced to a size it needs no source: it draws at once, and gives every
// target added later a frame at once too. With `useExistingAlpha` it keeps its input's alpha.
class PixSolidColorGenerator : public PixFilter {
public:
    static std::shared_ptr<PixSolidColorGenerator> create();

    // (0, 0, 0.5, 1) at first.
    GPUVector4 color() const;
    void setColor(GPUVector4 newValue);
    void setColorRed(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
    bool useExistingAlpha() const;
    void setUseExistingAlpha(bool newValue);

    void forceProcessingAtSize(core::Size frameSize) override;
    void addTarget(const std::shared_ptr<PixInput>& newTarget, int textureLocation) override;
    using PixOutput::addTarget;

protected:
    PixSolidColorGenerator();

private:
    GLint m_colorUniform = -1;
    GLint m_useExistingAlphaUniform = -1;
    // On the processing queue.
    GPUVector4 m_color{0, 0, 0.5f, 1};
    bool m_useExistingAlpha = false;
};

} // namespace zm
