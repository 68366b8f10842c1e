#include "framework/Source/PixContext.h"
#include "framework/Source/PixTestSupport.h"
#include "platform/core/FileLocations.h"
#include "platform/core/Files.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/ImageContext.h"
#include "platform/gfx/Png.h"

#include <algorithm>
#include <filesystem>

#include <cmath>
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

gl::RgbaImage filtered(const std::shared_ptr<PixFilterNode>& filter, int width, int height,
                       const std::vector<Rgba>& pixels) {
    auto source = PixTestImageSource::create(width, height, pixels);
    source->addTarget(filter);
    source->push();
    return filter->newImageFromCurrentlyProcessedOutput();
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

std::vector<Rgba> testCard(int width, int height) {
    const Rgba bars[8] = {{255, 0, 0, 255},   {0, 255, 0, 255},   {0, 0, 255, 255}, {255, 255, 0, 255},
                          {0, 255, 255, 255}, {255, 0, 255, 255}, {255, 255, 255, 255}, {0, 0, 0, 255}};
    std::vector<Rgba> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float across = (x + 0.5f) / static_cast<float>(width);
            if (y < height / 2) {
                pixels.push_back(bars[std::min(7, x * 8 / width)]);
            } else if (y < height * 3 / 4) {
                const auto level = static_cast<std::uint8_t>(std::lround(across * 255));
                pixels.push_back({level, level, level, 255});
            } else {
                // Red to yellow to green to cyan to blue to magenta, then fading out.
                const float hue = across * 6;
                const auto level = [](float value) {
                    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255));
                };
                const Rgba colour{level(std::abs(hue - 3) - 1), level(2 - std::abs(hue - 2)),
                                  level(2 - std::abs(hue - 4)), 0};
                const auto alpha = static_cast<std::uint8_t>(std::lround(std::clamp((1 - across) * 4, 0.0f, 1.0f) * 255));
                pixels.push_back({colour[0], colour[1], colour[2], alpha});
            }
        }
    }
    return pixels;
}

gl::RgbaImage rgbaImage(int width, int height, const std::vector<Rgba>& pixels) {
    gl::RgbaImage image;
    image.width = width;
    image.height = height;
    for (const Rgba& pixel : pixels)
        image.bytes.insert(image.bytes.end(), pixel.begin(), pixel.end());
    return image;
}

void PixContactSheet::add(const std::string& name, const gl::RgbaImage& tile) {
    m_tiles.emplace_back(name, tile);
}

std::string PixContactSheet::write(const std::string& fileName) const {
    constexpr float kLabel = 16, kGap = 8;
    constexpr int kColumns = 5;
    float tileWidth = 0, tileHeight = 0;
    for (const auto& [name, tile] : m_tiles) {
        tileWidth = std::max(tileWidth, static_cast<float>(tile.width));
        tileHeight = std::max(tileHeight, static_cast<float>(tile.height));
    }
    const int rows = (static_cast<int>(m_tiles.size()) + kColumns - 1) / kColumns;
    const float cellWidth = std::max(tileWidth, 120.0f) + kGap, cellHeight = tileHeight + kLabel + kGap;
    gfx::ImageContext context({kColumns * cellWidth + kGap, rows * cellHeight + kGap}, 1, true);
    gfx::Canvas& canvas = context.canvas();
    // A checkerboard shows through transparent pixels.
    for (int y = 0; y * 8 < static_cast<int>(rows * cellHeight + kGap); ++y) {
        for (int x = 0; x * 8 < static_cast<int>(kColumns * cellWidth + kGap); ++x) {
            canvas.setFillColor((x + y) % 2 ? core::Color::rgba(0.35f, 0.35f, 0.35f, 1) : core::Color::rgba(0.25f, 0.25f, 0.25f, 1));
            canvas.fillRect(core::Rect(x * 8.0f, y * 8.0f, 8, 8));
        }
    }
    for (std::size_t index = 0; index < m_tiles.size(); ++index) {
        const auto& [name, tile] = m_tiles[index];
        const float left = kGap + static_cast<float>(index % kColumns) * cellWidth;
        const float top = kGap + static_cast<float>(index / kColumns) * cellHeight;
        if (const auto picture = gfx::Image::fromPixels(tile.bytes, tile.width, tile.height, tile.width * 4,
                                                        gfx::PixelLayout::StraightRGBA))
            canvas.drawImage(*picture, core::Rect(left, top, static_cast<float>(tile.width), static_cast<float>(tile.height)));
        canvas.setFillColor(core::Color::rgba(1, 1, 1, 1));
        canvas.drawText(name, gfx::Font::system(11), core::Rect(left, top + tileHeight + 2, cellWidth - kGap, kLabel));
    }
    const std::filesystem::path folder = core::FileLocations::shared().temporary / "screenshots";
    std::filesystem::create_directories(folder);
    const std::vector<std::uint8_t> png = gfx::encodePng(*context.image());
    const std::filesystem::path file = folder / fileName;
    EXPECT_TRUE(core::writeFileAtomically(file, {reinterpret_cast<const char*>(png.data()), png.size()}));
    return file.string();
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
