#include "framework/UI/PixView.h"

#include "framework/Source/PixContext.h"
#include "framework/Source/PixRenderTarget.h"
#include "framework/Source/PixTextureCopy.h"
#include "platform/core/DispatchQueue.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Image.h"
#include "platform/ui/Device.h"

#include <algorithm>
#include <cassert>
#include <vector>

namespace zm {

namespace {

// The offscreen table with the picture mirrored top to bottom: t turns to 1 - t for the rows that keep
// the picture's axes, s to 1 - s for the quarter turns, whose s runs down the display.
constexpr std::array<std::array<GLfloat, 8>, 8> kDisplayTextureCoordinates = {{
    {0.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f}, // none
    {0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f, 1.0f}, // rotate left
    {1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}, // rotate right
    {0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f}, // flip vertical
    {1.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f}, // flip horizontal
    {1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f}, // rotate right, flip vertical
    {0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f}, // rotate right, flip horizontal
    {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f}, // rotate 180
}};

bool hasArea(core::Size size) {
    return size.width > 0 && size.height > 0;
}

// A picture of the framebuffer as the screen shows it: the framebuffer's top row is the screen's first.
std::shared_ptr<const gfx::Image> pictureOfFramebuffer(const PixRenderTarget& framebuffer, float scale) {
    const std::size_t row = static_cast<std::size_t>(framebuffer.width()) * 4;
    std::vector<std::uint8_t> pixels(row * static_cast<std::size_t>(framebuffer.height()));
    framebuffer.readPixels(pixels.data(), row);
    for (std::size_t top = 0, bottom = framebuffer.height() - 1u; top < bottom; ++top, --bottom)
        std::swap_ranges(pixels.begin() + top * row, pixels.begin() + (top + 1) * row, pixels.begin() + bottom * row);
    return gfx::Image::fromPixels(pixels, framebuffer.width(), framebuffer.height(), static_cast<int>(row),
                                  gfx::PixelLayout::StraightRGBA, scale);
}

} // namespace

std::shared_ptr<PixView> PixView::create(const core::Rect& frame) {
    return std::shared_ptr<PixView>(new PixView(frame));
}

PixView::PixView(const core::Rect& frame)
    : ui::View(frame) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        m_displayProgram = std::make_unique<PixTextureCopy>();
    });
    layoutSubviews();
}

PixView::~PixView() {
    runSynchronouslyOnContextQueue([&] {
        m_displayFramebuffer.reset();
        m_displayProgram.reset();
    });
}

const std::array<GLfloat, 8>& PixView::textureCoordinatesForRotation(PixInputRotation rotationMode) {
    assert(rotationMode >= 0 && rotationMode < 8);
    return kDisplayTextureCoordinates[static_cast<std::size_t>(rotationMode) & 7u];
}

core::Size PixView::quadHalfExtents(PixViewFillMode fillMode, core::Size inputImageSize, core::Size viewSize) {
    if (fillMode == PixViewFillModeStretch || !hasArea(inputImageSize) || !hasArea(viewSize))
        return {1, 1};
    const float scale =
        std::min(viewSize.width / inputImageSize.width, viewSize.height / inputImageSize.height);
    const core::Size fit{inputImageSize.width * scale, inputImageSize.height * scale};
    if (fillMode == PixViewFillModeAspectFill)
        return {viewSize.height / fit.height, viewSize.width / fit.width};
    return {fit.width / viewSize.width, fit.height / viewSize.height};
}

PixViewFillMode PixView::fillMode() const {
    PixViewFillMode mode = PixViewFillModeAspectFit;
    runSynchronouslyOnContextQueue([&] { mode = m_fillMode; });
    return mode;
}

void PixView::setFillMode(PixViewFillMode newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_fillMode = newValue;
        recalculateViewGeometry();
    });
}

void PixView::setBackgroundColorRed(GLfloat redComponent, GLfloat greenComponent, GLfloat blueComponent,
                                    GLfloat alphaComponent) {
    runSynchronouslyOnContextQueue(
        [&] { m_backgroundColor = {redComponent, greenComponent, blueComponent, alphaComponent}; });
}

core::Size PixView::sizeInPixels() const {
    core::Size size;
    runSynchronouslyOnContextQueue([&] { size = m_sizeInPixels; });
    return size;
}

core::Size PixView::maximumOutputSize() const {
    return sizeInPixels();
}

std::array<GLfloat, 8> PixView::imageVertices() const {
    std::array<GLfloat, 8> vertices{};
    runSynchronouslyOnContextQueue([&] { vertices = m_imageVertices; });
    return vertices;
}

void PixView::layoutSubviews() {
    ui::View::layoutSubviews();
    const core::Size size = bounds().size;
    // A view folded to nothing keeps what it had, so that it shows the same when it opens again.
    if (!hasArea(size))
        return;
    const float scale = ui::Device::current().scale;
    runSynchronouslyOnContextQueue([&] {
        if (size == m_boundsSize && scale == m_contentScale)
            return;
        m_boundsSize = size;
        m_contentScale = scale;
        m_sizeInPixels = {size.width * scale, size.height * scale};
        m_displayFramebuffer.reset();
        recalculateViewGeometry();
    });
}

void PixView::recalculateViewGeometry() {
    const core::Size half = quadHalfExtents(m_fillMode, m_inputImageSize, m_boundsSize);
    m_imageVertices = {-half.width, -half.height, half.width, -half.height,
                       -half.width, half.height,  half.width, half.height};
}

void PixView::draw(gfx::Canvas& canvas) {
    if (m_picture)
        canvas.drawImage(*m_picture, core::Rect({0, 0}, bounds().size));
}

// Frames

void PixView::newFrameReadyAtTime(PixFrameTime, int) {
    if (!PixContext::useImageProcessingContext())
        return;
    if (!m_displayFramebuffer) {
        m_displayFramebuffer = PixRenderTarget::create(static_cast<int>(m_sizeInPixels.width),
                                                       static_cast<int>(m_sizeInPixels.height));
        if (!m_displayFramebuffer)
            return; // no size yet: the next frame tries again
    }
    m_displayFramebuffer->bind();
    m_displayProgram->draw(m_inputTextureForDisplay, m_imageVertices,
                           textureCoordinatesForRotation(m_inputRotation), m_backgroundColor);
    presentFramebuffer();
}

void PixView::presentFramebuffer() {
    auto picture = pictureOfFramebuffer(*m_displayFramebuffer, m_contentScale);
    bool alreadyOnItsWay = false;
    {
        const std::lock_guard lock(m_pendingPictureMutex);
        alreadyOnItsWay = m_pendingPicture != nullptr;
        m_pendingPicture = std::move(picture);
    }
    if (alreadyOnItsWay)
        return;
    core::DispatchQueue::main()->async([weakView = weak_from_this()] {
        const auto view = std::static_pointer_cast<PixView>(weakView.lock());
        if (!view)
            return;
        {
            const std::lock_guard lock(view->m_pendingPictureMutex);
            view->m_picture = std::move(view->m_pendingPicture);
        }
        view->setNeedsDisplay();
    });
}

void PixView::setInputTexture(GLuint newInputTexture, int) {
    m_inputTextureForDisplay = newInputTexture;
}

void PixView::setInputSize(core::Size newSize, int) {
    const core::Size rotated =
        PixRotationSwapsWidthAndHeight(m_inputRotation) ? core::Size{newSize.height, newSize.width} : newSize;
    if (rotated == m_inputImageSize)
        return;
    m_inputImageSize = rotated;
    recalculateViewGeometry();
}

void PixView::setInputRotation(PixInputRotation newInputRotation, int) {
    m_inputRotation = newInputRotation;
}

} // namespace zm
