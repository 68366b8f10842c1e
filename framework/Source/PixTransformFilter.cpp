#include "framework/Source/PixTransformFilter.h"

#include "framework/Source/PixContext.h"

namespace zm {

namespace {

// The transform is applied as a matrix on the left (its rows reach GL as columns, which makes it the
// row-vector product), the projection as a row-vector product on the right.
const char* const kTransformVertexShader = R"(
attribute vec4 position;
attribute vec4 inputTextureCoordinate;

uniform mat4 transformMatrix;
uniform mat4 orthographicMatrix;

varying vec2 textureCoordinate;

void main()
{
    gl_Position = transformMatrix * vec4(position.xyz, 1.0) * orthographicMatrix;
    textureCoordinate = inputTextureCoordinate.xy;
}
)";

} // namespace

std::shared_ptr<PixTransformFilter> PixTransformFilter::create() {
    return std::shared_ptr<PixTransformFilter>(new PixTransformFilter);
}

PixTransformFilter::PixTransformFilter()
    : PixFilter(kTransformVertexShader, PixPassthroughFragmentShader) {
    m_transformMatrixUniform = uniformLocation("transformMatrix");
    m_orthographicMatrixUniform = uniformLocation("orthographicMatrix");
    setTransform3D({{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}});
    setIgnoreAspectRatio(false);
}

GPUMatrix4x4 PixTransformFilter::transform3D() const {
    GPUMatrix4x4 value{};
    runSynchronouslyOnContextQueue([&] { value = m_transform3D; });
    return value;
}

void PixTransformFilter::setTransform3D(const GPUMatrix4x4& newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_transform3D = newValue;
        setMatrix4f(newValue, m_transformMatrixUniform, m_filterProgram);
    });
}

core::AffineTransform PixTransformFilter::affineTransform() const {
    const GPUMatrix4x4 matrix = transform3D();
    return {matrix.one.one, matrix.one.two, matrix.two.one, matrix.two.two, matrix.four.one, matrix.four.two};
}

void PixTransformFilter::setAffineTransform(const core::AffineTransform& newValue) {
    setTransform3D({{newValue.a, newValue.b, 0, 0}, {newValue.c, newValue.d, 0, 0}, {0, 0, 1, 0},
                    {newValue.tx, newValue.ty, 0, 1}});
}

bool PixTransformFilter::ignoreAspectRatio() const {
    bool value = false;
    runSynchronouslyOnContextQueue([&] { value = m_ignoreAspectRatio; });
    return value;
}

void PixTransformFilter::setIgnoreAspectRatio(bool newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_ignoreAspectRatio = newValue;
        if (newValue)
            loadOrthoMatrix(-1, 1, -1, 1, -1, 1);
        else
            setupFilterForSize(sizeOfFBO());
    });
}

bool PixTransformFilter::anchorTopLeft() const {
    bool value = false;
    runSynchronouslyOnContextQueue([&] { value = m_anchorTopLeft; });
    return value;
}

void PixTransformFilter::setAnchorTopLeft(bool newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_anchorTopLeft = newValue;
        setIgnoreAspectRatio(m_ignoreAspectRatio);
    });
}

void PixTransformFilter::loadOrthoMatrix(float left, float right, float bottom, float top, float near, float far) {
    const float scale = m_anchorTopLeft ? 4.0f : 2.0f;
    GPUMatrix4x4 matrix{};
    matrix.one.one = scale / (right - left);
    matrix.one.four = m_anchorTopLeft ? -1.0f : -(right + left) / (right - left);
    matrix.two.two = scale / (top - bottom);
    matrix.two.four = m_anchorTopLeft ? -1.0f : -(top + bottom) / (top - bottom);
    matrix.three.three = scale / (far - near);
    matrix.three.four = -(far + near) / (far - near);
    matrix.four.four = 1.0f;
    setMatrix4f(matrix, m_orthographicMatrixUniform, m_filterProgram);
}

void PixTransformFilter::setupFilterForSize(core::Size filterFrameSize) {
    if (m_ignoreAspectRatio || filterFrameSize.width <= 0 || filterFrameSize.height <= 0)
        return;
    const float aspect = static_cast<float>(static_cast<double>(filterFrameSize.height) / filterFrameSize.width);
    loadOrthoMatrix(-1, 1, -aspect, aspect, -1, 1);
}

void PixTransformFilter::newFrameReadyAtTime(PixFrameTime frameTime, int) {
    const core::Size size = sizeOfFBO();
    if (PixPixelsWide(size) < 1 || PixPixelsHigh(size) < 1)
        return;
    m_outputTextureRetainCount = static_cast<unsigned>(m_targets.size());
    const GLfloat ratio = size.height / size.width;
    const GLfloat low = m_anchorTopLeft ? 0.0f : -1.0f;
    const GLfloat high = m_ignoreAspectRatio ? 1.0f : ratio;
    const GLfloat bottom = m_anchorTopLeft ? 0.0f : -high;
    const GLfloat vertices[8] = {low, bottom, 1.0f, bottom, low, high, 1.0f, high};
    renderToTextureWithVertices(vertices, textureCoordinatesForRotation(m_inputRotation).data(), m_filterSourceTexture);
    informTargetsAboutNewFrameAtTime(frameTime);
}

} // namespace zm
