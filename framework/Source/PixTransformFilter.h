#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Draws the picture through a 3D or an affine transform, about its centre (or its top-left corner),
// over the background colour. The transform works in a frame where the picture keeps its proportions,
// unless told to ignore them; then it works on the framebuffer's own square of -1 to 1.
class PixTransformFilter : public PixFilter {
public:
    static std::shared_ptr<PixTransformFilter> create();

    // A 4 x 4 matrix in the row-vector convention (a point times the matrix; the translation in the
    // fourth row), rows `one` to `four`. The identity at first.
    GPUMatrix4x4 transform3D() const;
    void setTransform3D(const GPUMatrix4x4& newValue);
    // The 2D part of the 3D transform.
    core::AffineTransform affineTransform() const;
    void setAffineTransform(const core::AffineTransform& newValue);
    bool ignoreAspectRatio() const;
    void setIgnoreAspectRatio(bool newValue);
    // Scales and turns about the top-left corner instead of the centre.
    bool anchorTopLeft() const;
    void setAnchorTopLeft(bool newValue);

    void newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) override;

protected:
    PixTransformFilter();

    void setupFilterForSize(core::Size filterFrameSize) override;

private:
    // The projection of the box onto the framebuffer; on the processing queue.
    void loadOrthoMatrix(float left, float right, float bottom, float top, float near, float far);

    GLint m_transformMatrixUniform = -1;
    GLint m_orthographicMatrixUniform = -1;
    // On the processing queue.
    GPUMatrix4x4 m_transform3D{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    bool m_ignoreAspectRatio = false;
    bool m_anchorTopLeft = false;
};

} // namespace zm
