#pragma once

#include "framework/Source/PixFilter.h"

#include <optional>
#include <string>

namespace zm {

// The base of the filters that move or coarsen pixels around a centre or in blocks. They share two
// things. A centre, given in the upright picture ((0, 0) its top-left corner, (0.5, 0.5) at first),
// reaches the shader in the input texture's own coordinates and is sent again whenever the input turns.
// An aspect ratio, the input texture's height over its width, lets the shader measure distances in
// widths of the picture, so that circles stay round in pixels.
class PixDistortionFilter : public PixFilter {
public:
    core::Point center() const;
    void setCenter(core::Point newValue);
    float aspectRatio() const;
    // Until the next size or turn of the input, which set it again.
    void setAspectRatio(float newValue);

    void setInputSize(core::Size newSize, int textureIndex) override;
    void setInputRotation(PixInputRotation newInputRotation, int textureIndex) override;
    void forceProcessingAtSize(core::Size frameSize) override;

protected:
    struct Uniforms {
        std::optional<std::string> center;      // the centre's uniform, for a filter with a centre
        std::optional<std::string> aspectRatio; // the aspect ratio's, for a filter that corrects for it
    };
    PixDistortionFilter(const std::string& fragmentShaderString, const Uniforms& uniforms);

    // A stored float property and its uniform.
    float storedFloat(const float& member) const;
    void storeFloat(float& member, float newValue, GLint uniform);

    // Sets the aspect ratio from the input's size and turn; on the processing queue.
    void adjustAspectRatio();

private:
    GLint m_centerUniform = -1;
    GLint m_aspectRatioUniform = -1;
    // On the processing queue.
    core::Point m_center{0.5f, 0.5f};
    float m_aspectRatio = 1.0f;
};

} // namespace zm
