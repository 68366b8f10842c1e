#include "framework/Source/PixBlurRoadFilter.h"

#include "framework/Source/GLProgram.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixGaussianBlurFilter.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Image.h"

#include <cassert>

namespace zm {

namespace {

// The horizontal pass of the Gaussian blur, then what a brightness filter after it and the conversion
// of its straight read-back pixels into the platform's do, step by step as they round: the blurred
// pixel stored as bytes (the value x 255 rounded half to even), the brightness added to each colour
// and the result stored as a byte, the colours multiplied by alpha as the platform does ((colour x
// alpha + 127) / 255 rounded down), blue written first. The blur and the alpha come out exactly as the
// filters give them; a brightened colour may round a half the other way, by one level.
const std::string kHorizontalPassFragmentShader = R"(
uniform sampler2D inputImageTexture;
uniform highp float brightness;

varying highp vec2 blurCoordinates[9];

highp vec4 storedByte(highp vec4 value)
{
    highp vec4 scaled = clamp(value, 0.0, 1.0) * 255.0;
    highp vec4 rounded = floor(scaled + 0.5);
    return rounded - vec4(equal(rounded - scaled, vec4(0.5))) * mod(rounded, 2.0);
}

void main()
{
)" + std::string(PixGaussianBlurTaps) + R"(

    highp vec4 blurred = storedByte(sum);
    highp vec3 colour = storedByte(vec4(blurred.rgb / 255.0 + brightness, 0.0)).rgb;
    highp vec3 premultiplied = floor((colour * blurred.a + 127.0) / 255.0);
    gl_FragColor = vec4(premultiplied.bgr, blurred.a) / 255.0;
}
)";

} // namespace

std::shared_ptr<PixBlurRoadFilter> PixBlurRoadFilter::create() {
    return std::shared_ptr<PixBlurRoadFilter>(new PixBlurRoadFilter);
}

PixBlurRoadFilter::PixBlurRoadFilter()
    : PixSeparableBlurFilter(PixGaussianBlurVertexShader, PixGaussianBlurFragmentShader,
                             kHorizontalPassFragmentShader) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        m_brightnessUniform = m_secondFilterProgram->uniformIndex("brightness");
    });
    setBrightness(0.0f);
}

void PixBlurRoadFilter::setBrightness(float newValue) {
    m_brightness = newValue;
    setFloat(newValue, m_brightnessUniform, m_secondFilterProgram);
}

std::shared_ptr<const gfx::Image> PixBlurRoadFilter::imageFromOutput() {
    std::unique_ptr<gfx::Bitmap> bitmap;
    runSynchronouslyOnContextQueue([&] {
        const core::Size size = sizeOfFBO();
        const int width = PixPixelsWide(size);
        const int height = PixPixelsHigh(size);
        if (width < 1 || height < 1 || !hasSecondFilterFramebuffer() || !PixContext::useImageProcessingContext())
            return;
        bitmap = gfx::Bitmap::create(width, height);
        if (!bitmap)
            return;
        // Cairo's rows of four-byte pixels are never padded: the rows GL packs are the bitmap's.
        assert(bitmap->bytesPerRow() == width * 4);
        setOutputFBO();
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bitmap->mutableBytes());
    });
    if (!bitmap)
        return nullptr;
    bitmap->markChanged();
    return std::make_shared<gfx::Image>(std::move(bitmap), 1.0f);
}

} // namespace zm
