#include "framework/Source/PixGlassSphereFilter.h"

namespace zm {

namespace {

const char* const kGlassSphereFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform highp vec2 center;
uniform highp float radius;
uniform highp float aspectRatio;
uniform highp float refractiveIndex;

const highp vec3 lightPosition = vec3(-0.5, 0.5, 1.0);
const highp vec3 ambientLightPosition = vec3(0.0, 0.0, 1.0);

void main()
{
    highp vec2 corrected = vec2(textureCoordinate.x, textureCoordinate.y * aspectRatio + 0.5 - 0.5 * aspectRatio);
    highp float distanceFromCenter = distance(center, corrected);
    lowp float checkForPresenceWithinSphere = step(distanceFromCenter, radius);

    distanceFromCenter = distanceFromCenter / radius;
    highp float normalizedDepth = radius * sqrt(1.0 - distanceFromCenter * distanceFromCenter);
    highp vec3 sphereNormal = normalize(vec3(corrected - center, normalizedDepth));
    highp vec3 refractedVector = 2.0 * refract(vec3(0.0, 0.0, -1.0), sphereNormal, refractiveIndex);
    refractedVector.xy = -refractedVector.xy;

    highp vec3 finalSphereColor = texture2D(inputImageTexture, (refractedVector.xy + 1.0) * 0.5).rgb;

    // The rim, brighter the more the surface turns away from the viewer, then the highlight.
    highp float lightingIntensity = 2.5 * (1.0 - pow(clamp(dot(ambientLightPosition, sphereNormal), 0.0, 1.0), 0.25));
    finalSphereColor += lightingIntensity;
    lightingIntensity = clamp(dot(normalize(lightPosition), sphereNormal), 0.0, 1.0);
    lightingIntensity = pow(lightingIntensity, 15.0);
    finalSphereColor += vec3(0.8, 0.8, 0.8) * lightingIntensity;

    gl_FragColor = vec4(finalSphereColor, 1.0) * checkForPresenceWithinSphere;
}
)";

} // namespace

std::shared_ptr<PixGlassSphereFilter> PixGlassSphereFilter::create() {
    return std::shared_ptr<PixGlassSphereFilter>(new PixGlassSphereFilter);
}

PixGlassSphereFilter::PixGlassSphereFilter()
    : PixSphereRefractionFilter(kGlassSphereFragmentShader) {}

} // namespace zm
