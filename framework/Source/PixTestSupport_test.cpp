#include "framework/Source/PixContext.h"
#include "framework/Source/PixTestSupport.h"
#include "platform/gfx/Image.h"

#include <sstream>

namespace zm::pixtest {

std::shared_ptr<PixTestImageSource> PixTestImageSource::create(int width, int height,
                                                               const std::vector<Rgba>& pixels) {
    return std::shared_ptr<PixTestImageSource>(new PixTestImageSource(width, height, pixels));
}

std::shared_ptr<PixTestImageSource> PixTestImageSource::filled(int width, int height, Rgba colour) {
    return create(width, height, std::vector<Rgba>(static_cast<std::size_t>(width) * height, colour));
}

PixTestImageSource::PixTestImageSource(int width, int height, const std::vector<Rgba>& pixels)
    : m_size{static_cast<float>(width), static_cast<float>(height)} {
    initializeOutputTextureIfNeeded();
    replacePixels(pixels);
}

void PixTestImageSource::replacePixels(const std::vector<Rgba>& pixels) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        glBindTexture(GL_TEXTURE_2D, m_outputTexture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(m_size.width),
                     static_cast<GLsizei>(m_size.height), 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        glBindTexture(GL_TEXTURE_2D, 0);
    });
}

void PixTestImageSource::push() {
    push(PixFrameTime::indefiniteTime());
}

void PixTestImageSource::push(PixFrameTime frameTime) {
    auto self = std::static_pointer_cast<PixTestImageSource>(shared_from_this());
    runAsynchronouslyOnContextQueue([self, frameTime] {
        for (std::size_t position = 0; position < self->m_targets.size(); ++position) {
            PixInput& target = *self->m_targets[position];
            const int textureIndex = self->textureIndexOfTarget(position);
            target.setCurrentlyReceivingMonochromeInput(false);
            target.setInputSize(self->m_size, textureIndex);
            target.newFrameReadyAtTime(frameTime, textureIndex);
        }
    });
}

void PixTestImageSource::textureNoLongerNeededForTarget(PixInput*) {
    ++releasesHeard;
}

void PixRecordingTarget::newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) {
    std::ostringstream call;
    call << "newFrameReadyAtTime(";
    if (frameTime.isIndefinite())
        call << "indefinite";
    else if (!frameTime.isValid())
        call << "invalid";
    else
        call << frameTime.inSeconds() << " s";
    call << ", " << textureIndex << ")";
    calls.push_back(call.str());
}

void PixRecordingTarget::setInputTexture(GLuint texture, int textureIndex) {
    calls.push_back("setInputTexture(" + std::string(texture ? "texture" : "0") + ", " +
                    std::to_string(textureIndex) + ")");
}

void PixRecordingTarget::setTextureDelegate(PixTextureDelegate* delegate, int textureIndex) {
    textureDelegate = delegate;
    calls.push_back("setTextureDelegate(" + std::string(delegate ? "source" : "null") + ", " +
                    std::to_string(textureIndex) + ")");
}

void PixRecordingTarget::setInputSize(core::Size newSize, int textureIndex) {
    std::ostringstream call;
    call << "setInputSize(" << newSize.width << "x" << newSize.height << ", " << textureIndex << ")";
    calls.push_back(call.str());
}

void PixRecordingTarget::setInputRotation(PixInputRotation rotation, int textureIndex) {
    calls.push_back("setInputRotation(" + std::to_string(rotation) + ", " + std::to_string(textureIndex) +
                    ")");
}

void PixRecordingTarget::endProcessing() {
    calls.push_back("endProcessing()");
}

void PixRecordingTarget::conserveMemoryForNextFrame() {
    calls.push_back("conserveMemoryForNextFrame()");
}

void PixRecordingTarget::setCurrentlyReceivingMonochromeInput(bool newValue) {
    calls.push_back("setCurrentlyReceivingMonochromeInput(" + std::string(newValue ? "true" : "false") + ")");
}

std::shared_ptr<const gfx::Image> makeImage(int width, int height, const std::vector<Rgba>& pixels,
                                            float scale) {
    std::vector<std::uint8_t> bytes;
    for (const Rgba& pixel : pixels)
        bytes.insert(bytes.end(), pixel.begin(), pixel.end());
    return gfx::Image::fromPixels(bytes, width, height, width * 4, gfx::PixelLayout::StraightRGBA, scale);
}

Rgba premultipliedPixel(const gfx::Image& image, int x, int y) {
    const gfx::Pixel pixel = image.bitmap().pixel(x, y);
    return {pixel.red, pixel.green, pixel.blue, pixel.alpha};
}

::testing::AssertionResult pixelsNear(const gl::RgbaImage& image, const std::vector<Rgba>& expected,
                                      int tolerance) {
    if (static_cast<std::size_t>(image.width) * image.height != expected.size())
        return ::testing::AssertionFailure() << "the image has " << image.width << "x" << image.height
                                             << " pixels, expected " << expected.size();
    for (int row = 0; row < image.height; ++row) {
        for (int x = 0; x < image.width; ++x) {
            const Rgba actual = image.pixel(x, row);
            const Rgba& wanted = expected[static_cast<std::size_t>(row) * image.width + x];
            for (int channel = 0; channel < 4; ++channel) {
                if (std::abs(actual[channel] - wanted[channel]) > tolerance) {
                    return ::testing::AssertionFailure()
                           << "pixel (" << x << ", " << row << ") is (" << int(actual[0]) << ", "
                           << int(actual[1]) << ", " << int(actual[2]) << ", " << int(actual[3])
                           << "), expected (" << int(wanted[0]) << ", " << int(wanted[1]) << ", "
                           << int(wanted[2]) << ", " << int(wanted[3]) << ")";
                }
            }
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace zm::pixtest
