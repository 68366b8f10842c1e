#include "framework/Source/PixKuwaharaFilter.h"

#include <algorithm>
#include <string>

namespace zm {

// The four quadrants overlap on the axes: Q0 left and up, Q1 right and up, Q2 right and down, Q3 left
// and down. The first quadrant of the smallest summed variance wins.
const char* const PixKuwaharaFragmentShaderBody = R"(
varying highp vec2 textureCoordinate;
uniform sampler2D inputImageTexture;

const highp vec2 src_size = vec2(1.0 / 768.0, 1.0 / 1024.0);

void main()
{
    highp vec2 uv = textureCoordinate;
    highp float n = float((radius + 1) * (radius + 1));
    highp vec3 m0 = vec3(0.0); highp vec3 m1 = vec3(0.0); highp vec3 m2 = vec3(0.0); highp vec3 m3 = vec3(0.0);
    highp vec3 s0 = vec3(0.0); highp vec3 s1 = vec3(0.0); highp vec3 s2 = vec3(0.0); highp vec3 s3 = vec3(0.0);
    highp vec3 c;

    for (int j = -radius; j <= 0; ++j) {
        for (int i = -radius; i <= 0; ++i) {
            c = texture2D(inputImageTexture, uv + vec2(i, j) * src_size).rgb;
            m0 += c;
            s0 += c * c;
        }
    }
    for (int j = -radius; j <= 0; ++j) {
        for (int i = 0; i <= radius; ++i) {
            c = texture2D(inputImageTexture, uv + vec2(i, j) * src_size).rgb;
            m1 += c;
            s1 += c * c;
        }
    }
    for (int j = 0; j <= radius; ++j) {
        for (int i = 0; i <= radius; ++i) {
            c = texture2D(inputImageTexture, uv + vec2(i, j) * src_size).rgb;
            m2 += c;
            s2 += c * c;
        }
    }
    for (int j = 0; j <= radius; ++j) {
        for (int i = -radius; i <= 0; ++i) {
            c = texture2D(inputImageTexture, uv + vec2(i, j) * src_size).rgb;
            m3 += c;
            s3 += c * c;
        }
    }

    highp float min_sigma2 = 1e+2;
    highp float sigma2;

    m0 /= n;
    s0 = abs(s0 / n - m0 * m0);
    sigma2 = s0.r + s0.g + s0.b;
    if (sigma2 < min_sigma2) {
        min_sigma2 = sigma2;
        gl_FragColor = vec4(m0, 1.0);
    }

    m1 /= n;
    s1 = abs(s1 / n - m1 * m1);
    sigma2 = s1.r + s1.g + s1.b;
    if (sigma2 < min_sigma2) {
        min_sigma2 = sigma2;
        gl_FragColor = vec4(m1, 1.0);
    }

    m2 /= n;
    s2 = abs(s2 / n - m2 * m2);
    sigma2 = s2.r + s2.g + s2.b;
    if (sigma2 < min_sigma2) {
        min_sigma2 = sigma2;
        gl_FragColor = vec4(m2, 1.0);
    }

    m3 /= n;
    s3 = abs(s3 / n - m3 * m3);
    sigma2 = s3.r + s3.g + s3.b;
    if (sigma2 < min_sigma2) {
        min_sigma2 = sigma2;
        gl_FragColor = vec4(m3, 1.0);
    }
}
)";

std::shared_ptr<PixKuwaharaFilter> PixKuwaharaFilter::create() {
    return std::shared_ptr<PixKuwaharaFilter>(new PixKuwaharaFilter);
}

PixKuwaharaFilter::PixKuwaharaFilter()
    : PixFilter(PixDefaultVertexShader, std::string("uniform int radius;\n") + PixKuwaharaFragmentShaderBody) {
    m_radiusUniform = uniformLocation("radius");
    setRadius(3);
}

void PixKuwaharaFilter::setRadius(unsigned newValue) {
    // Each pixel reads 4 (radius + 1)² samples: a radius taken from a mistyped setting would hold the
    // processing queue for minutes.
    m_radius = std::min(newValue, kLargestRadius);
    setInteger(static_cast<GLint>(m_radius), m_radiusUniform, m_filterProgram);
}

} // namespace zm
