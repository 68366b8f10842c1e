#pragma once

#include "framework/Source/PixFilter.h"

#include <array>

namespace zm {

// Cuts a rectangle out of the picture (origin and size as fractions of it, from its top-left corner)
// and hands it on at its own size in pixels.
class PixCropFilter : public PixFilter {
public:
    static std::shared_ptr<PixCropFilter> create(core::Rect cropRegion = {0, 0, 1, 1});

    core::Rect cropRegion() const;
    // A region reaching outside 0 to 1 is refused (logged), and the old one kept. The output size
    // follows at the next frame.
    void setCropRegion(core::Rect newValue);

    void setInputSize(core::Size newSize, int textureIndex) override;
    void setInputRotation(PixInputRotation newInputRotation, int textureIndex) override;
    void newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) override;

protected:
    explicit PixCropFilter(core::Rect cropRegion);

private:
    // The quad's texture coordinates for the region and the input's turn; on the processing queue.
    void calculateCropTextureCoordinates();

    // On the processing queue.
    core::Rect m_cropRegion;
    core::Size m_originallySuppliedInputSize;
    std::array<GLfloat, 8> m_cropTextureCoordinates{};
};

} // namespace zm
