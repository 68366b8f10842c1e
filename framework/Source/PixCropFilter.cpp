#include "framework/Source/PixCropFilter.h"

#include "framework/Source/PixContext.h"
#include "platform/core/Log.h"

namespace zm {

std::shared_ptr<PixCropFilter> PixCropFilter::create(core::Rect cropRegion) {
    return std::shared_ptr<PixCropFilter>(new PixCropFilter(cropRegion));
}

PixCropFilter::PixCropFilter(core::Rect cropRegion)
    : PixFilter(PixDefaultVertexShader, PixPassthroughFragmentShader)
    , m_cropRegion{0, 0, 1, 1} {
    setCropRegion(cropRegion);
    runSynchronouslyOnContextQueue([&] { calculateCropTextureCoordinates(); });
}

core::Rect PixCropFilter::cropRegion() const {
    core::Rect region;
    runSynchronouslyOnContextQueue([&] { region = m_cropRegion; });
    return region;
}

void PixCropFilter::setCropRegion(core::Rect newValue) {
    const auto inUnit = [](float value) { return value >= 0 && value <= 1; };
    if (!(inUnit(newValue.origin.x) && inUnit(newValue.origin.y) && inUnit(newValue.size.width) &&
          inUnit(newValue.size.height))) {
        // A programming error in the original, but a region is easily computed out of range: the crop
        // goes on with the one it had.
        core::log(core::LogLevel::Error,
                  "Invalid parameter not satisfying: newValue.origin.x >= 0 && newValue.origin.x <= 1 && "
                  "newValue.origin.y >= 0 && newValue.origin.y <= 1 && newValue.size.width >= 0 && "
                  "newValue.size.width <= 1 && newValue.size.height >= 0 && newValue.size.height <= 1");
        return;
    }
    runSynchronouslyOnContextQueue([&] {
        m_cropRegion = newValue;
        calculateCropTextureCoordinates();
    });
}

void PixCropFilter::calculateCropTextureCoordinates() {
    // The region is given in the upright picture. The whole quad's coordinates for the input's turn
    // map the upright corners (0, 0), (1, 0), (0, 1), (1, 1) onto the texture; the same affine map takes
    // the region's corners there, whichever way the input is turned or mirrored.
    const std::array<GLfloat, 8>& whole = textureCoordinatesForRotation(m_inputRotation);
    const core::Point origin{whole[0], whole[1]};
    const core::Point across{whole[2] - whole[0], whole[3] - whole[1]};
    const core::Point down{whole[4] - whole[0], whole[5] - whole[1]};
    const float minX = m_cropRegion.origin.x, minY = m_cropRegion.origin.y;
    const float maxX = minX + m_cropRegion.size.width, maxY = minY + m_cropRegion.size.height;
    const core::Point corners[] = {{minX, minY}, {maxX, minY}, {minX, maxY}, {maxX, maxY}};
    for (std::size_t corner = 0; corner < 4; ++corner) {
        const core::Point upright = corners[corner];
        m_cropTextureCoordinates[corner * 2] = origin.x + upright.x * across.x + upright.y * down.x;
        m_cropTextureCoordinates[corner * 2 + 1] = origin.y + upright.x * across.y + upright.y * down.y;
    }
}

void PixCropFilter::setInputSize(core::Size newSize, int textureIndex) {
    if (m_preventRendering)
        return;
    const core::Size rotated = rotatedSize(newSize, textureIndex);
    m_originallySuppliedInputSize = rotated;
    const core::Size cropped{rotated.width * m_cropRegion.size.width, rotated.height * m_cropRegion.size.height};
    if (PixPixelsWide(cropped) < 1 || PixPixelsHigh(cropped) < 1) {
        m_inputTextureSize = cropped;
        return;
    }
    if (cropped == m_inputTextureSize)
        return;
    m_inputTextureSize = cropped;
    recreateFilterFBO();
}

void PixCropFilter::setInputRotation(PixInputRotation newInputRotation, int textureIndex) {
    PixFilter::setInputRotation(newInputRotation, textureIndex);
    calculateCropTextureCoordinates();
}

void PixCropFilter::newFrameReadyAtTime(PixFrameTime frameTime, int) {
    if (PixPixelsWide(sizeOfFBO()) < 1 || PixPixelsHigh(sizeOfFBO()) < 1)
        return;
    m_outputTextureRetainCount = static_cast<unsigned>(m_targets.size());
    renderToTextureWithVertices(fullScreenQuadVertices(), m_cropTextureCoordinates.data(), m_filterSourceTexture);
    informTargetsAboutNewFrameAtTime(frameTime);
}

} // namespace zm
