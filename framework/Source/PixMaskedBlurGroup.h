#pragma once

#include "framework/Source/PixFilterGroup.h"
#include "framework/Source/PixGaussianBlurFilter.h"
#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The shape of the blurs that mix a blurred copy of the picture with the sharp picture by position: a
// Gaussian blur feeding slot 1 of a mixing filter whose slot 0 takes the sharp input. Both are initial
// filters; the mixing filter is the terminal one. The mixing shader reads the sharp picture at
// "textureCoordinate" and the blurred one at "textureCoordinate2".
class PixMaskedBlurGroup : public PixFilterGroup {
public:
    // The inner blur's.
    float blurSize() const { return m_blurFilter->blurSize(); }
    void setBlurSize(float newValue) { m_blurFilter->setBlurSize(newValue); }

protected:
    explicit PixMaskedBlurGroup(const std::string& mixingFragmentShaderString);

    const std::shared_ptr<PixGaussianBlurFilter> m_blurFilter;
    const std::shared_ptr<PixTwoInputFilter> m_mixingFilter;
};

} // namespace zm
