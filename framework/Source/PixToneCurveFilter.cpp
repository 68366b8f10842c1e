#include "framework/Source/PixToneCurveFilter.h"

#include "framework/Source/PixContext.h"
#include "framework/Source/PixToneCurve.h"
#include "platform/core/Files.h"
#include "platform/core/Log.h"

#include <algorithm>
#include <cmath>

namespace zm {

namespace {

const char* const kToneCurveFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform sampler2D toneCurveTexture;

void main()
{
    lowp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    lowp float redCurveValue = texture2D(toneCurveTexture, vec2(textureColor.r, 0.0)).r;
    lowp float greenCurveValue = texture2D(toneCurveTexture, vec2(textureColor.g, 0.0)).g;
    lowp float blueCurveValue = texture2D(toneCurveTexture, vec2(textureColor.b, 0.0)).b;
    gl_FragColor = vec4(redCurveValue, greenCurveValue, blueCurveValue, textureColor.a);
}
)";

const PixToneCurveFilter::ControlPoints kDiagonal{{0, 0}, {0.5f, 0.5f}, {1, 1}};

// A level moved by a curve entry, kept to the table's levels.
std::size_t shifted(std::size_t level, float shift) {
    const float moved = static_cast<float>(level) + (std::isnan(shift) ? 0.0f : shift);
    return static_cast<std::size_t>(std::clamp(moved, 0.0f, 255.0f));
}

} // namespace

std::shared_ptr<PixToneCurveFilter> PixToneCurveFilter::create() {
    return std::shared_ptr<PixToneCurveFilter>(new PixToneCurveFilter);
}

std::shared_ptr<PixToneCurveFilter> PixToneCurveFilter::createWithACVURL(const std::filesystem::path& curveFile) {
    auto filter = create();
    filter->setPointsWithACVURL(curveFile);
    return filter;
}

std::shared_ptr<PixToneCurveFilter> PixToneCurveFilter::createWithACVData(std::span<const std::uint8_t> curveData) {
    auto filter = create();
    filter->setPointsWithACV(curveData);
    return filter;
}

PixToneCurveFilter::PixToneCurveFilter()
    : PixFilter(PixDefaultVertexShader, kToneCurveFragmentShader) {
    m_toneCurveTextureUniform = uniformLocation("toneCurveTexture");
    for (const Channel channel : {Composite, Red, Green, Blue})
        setPoints(channel, kDiagonal);
}

PixToneCurveFilter::~PixToneCurveFilter() {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        if (m_toneCurveTexture)
            glDeleteTextures(1, &m_toneCurveTexture);
        m_toneCurveTexture = 0;
    });
}

void PixToneCurveFilter::setPointsWithACV(std::span<const std::uint8_t> curveData) {
    applyFile(PixACVFile::read(curveData));
}

void PixToneCurveFilter::setPointsWithACVURL(const std::filesystem::path& curveFile) {
    const auto contents = core::readFile(curveFile);
    if (!contents) {
        core::log(core::LogLevel::Error, "failed to read the curve file: " + contents.error().description);
        return;
    }
    const std::string& bytes = contents.value();
    setPointsWithACV({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

void PixToneCurveFilter::applyFile(const PixACVFile& file) {
    const std::pair<Channel, const PixACVFile::Curve*> curves[] = {{Composite, &file.rgbCompositeCurvePoints},
                                                                   {Red, &file.redCurvePoints},
                                                                   {Green, &file.greenCurvePoints},
                                                                   {Blue, &file.blueCurvePoints}};
    for (const auto& [channel, points] : curves) {
        if (*points)
            setPoints(channel, **points);
    }
}

void PixToneCurveFilter::setPoints(Channel channel, ControlPoints points) {
    runSynchronouslyOnContextQueue([&] {
        m_curves[channel] = preparedSplineCurve(points);
        m_controlPoints[channel] = std::move(points);
        updateToneCurveTexture();
    });
}

PixToneCurveFilter::ControlPoints PixToneCurveFilter::rgbCompositeControlPoints() const {
    ControlPoints points;
    runSynchronouslyOnContextQueue([&] { points = m_controlPoints[Composite]; });
    return points;
}

void PixToneCurveFilter::setRgbCompositeControlPoints(ControlPoints points) {
    setPoints(Composite, std::move(points));
}

PixToneCurveFilter::ControlPoints PixToneCurveFilter::redControlPoints() const {
    ControlPoints points;
    runSynchronouslyOnContextQueue([&] { points = m_controlPoints[Red]; });
    return points;
}

void PixToneCurveFilter::setRedControlPoints(ControlPoints points) {
    setPoints(Red, std::move(points));
}

PixToneCurveFilter::ControlPoints PixToneCurveFilter::greenControlPoints() const {
    ControlPoints points;
    runSynchronouslyOnContextQueue([&] { points = m_controlPoints[Green]; });
    return points;
}

void PixToneCurveFilter::setGreenControlPoints(ControlPoints points) {
    setPoints(Green, std::move(points));
}

PixToneCurveFilter::ControlPoints PixToneCurveFilter::blueControlPoints() const {
    ControlPoints points;
    runSynchronouslyOnContextQueue([&] { points = m_controlPoints[Blue]; });
    return points;
}

void PixToneCurveFilter::setBlueControlPoints(ControlPoints points) {
    setPoints(Blue, std::move(points));
}

void PixToneCurveFilter::setRGBControlPoints(ControlPoints points) {
    runSynchronouslyOnContextQueue([&] {
        for (const Channel channel : {Red, Green, Blue}) {
            m_curves[channel] = preparedSplineCurve(points);
            m_controlPoints[channel] = points;
        }
        updateToneCurveTexture();
    });
}

std::array<std::uint8_t, 1024> PixToneCurveFilter::toneCurveBytes() const {
    std::array<std::uint8_t, 1024> bytes{};
    runSynchronouslyOnContextQueue([&] { bytes = m_toneCurveByteArray; });
    return bytes;
}

void PixToneCurveFilter::updateToneCurveTexture() {
    if (!PixContext::useImageProcessingContext())
        return;
    glActiveTexture(GL_TEXTURE3);
    if (!m_toneCurveTexture) {
        glGenTextures(1, &m_toneCurveTexture);
        glBindTexture(GL_TEXTURE_2D, m_toneCurveTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    } else {
        glBindTexture(GL_TEXTURE_2D, m_toneCurveTexture);
    }
    if (!std::all_of(m_curves.begin(), m_curves.end(), [](const auto& curve) { return curve.has_value(); }))
        return;
    const std::vector<float>& composite = *m_curves[Composite];
    for (std::size_t level = 0; level < 256; ++level) {
        // Blue, green, red: each channel's curve, then the composite over it.
        const Channel channels[] = {Blue, Green, Red};
        for (std::size_t byte = 0; byte < 3; ++byte) {
            const std::size_t afterChannel = shifted(level, (*m_curves[channels[byte]])[level]);
            m_toneCurveByteArray[level * 4 + byte] =
                static_cast<std::uint8_t>(shifted(afterChannel, composite[afterChannel]));
        }
        m_toneCurveByteArray[level * 4 + 3] = 255;
    }
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 256, 1, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE, m_toneCurveByteArray.data());
}

void PixToneCurveFilter::setAdditionalInputsForDraw() {
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, m_toneCurveTexture);
    glUniform1i(m_toneCurveTextureUniform, 3);
}

} // namespace zm
