#include "framework/Source/PixSphereRefractionFilter.h"

namespace zm {

namespace {

// Outside the ball the depth is not a number; the sample it gives is multiplied by 0.
const char* const kSphereRefractionFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform highp vec2 center;
uniform highp float radius;
uniform highp float aspectRatio;
uniform highp float refractiveIndex;

void main()
{
    highp vec2 corrected = vec2(textureCoordinate.x, textureCoordinate.y * aspectRatio + 0.5 - 0.5 * aspectRatio);
    highp float distanceFromCenter = distance(center, corrected);
    lowp float checkForPresenceWithinSphere = step(distanceFromCenter, radius);

    distanceFromCenter = distanceFromCenter / radius;
    highp float normalizedDepth = radius * sqrt(1.0 - distanceFromCenter * distanceFromCenter);
    highp vec3 sphereNormal = normalize(vec3(corrected - center, normalizedDepth));
    highp vec3 refractedVector = refract(vec3(0.0, 0.0, -1.0), sphereNormal, refractiveIndex);

    gl_FragColor = texture2D(inputImageTexture, (refractedVector.xy + 1.0) * 0.5) * checkForPresenceWithinSphere;
}
)";

} // namespace

std::shared_ptr<PixSphereRefractionFilter> PixSphereRefractionFilter::create() {
    return std::shared_ptr<PixSphereRefractionFilter>(new PixSphereRefractionFilter(kSphereRefractionFragmentShader));
}

PixSphereRefractionFilter::PixSphereRefractionFilter(const std::string& fragmentShaderString)
    : PixDistortionFilter(fragmentShaderString, {"center", "aspectRatio"}) {
    m_radiusUniform = uniformLocation("radius");
    m_refractiveIndexUniform = uniformLocation("refractiveIndex");
    setRadius(0.25f);
    setRefractiveIndex(0.71f);
    setBackgroundColorRed(0, 0, 0, 0);
}

} // namespace zm
