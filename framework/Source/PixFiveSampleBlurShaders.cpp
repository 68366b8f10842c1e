#include "framework/Source/PixFiveSampleBlurShaders.h"

namespace zm {

namespace {

const char* const kSampleCoordinates = R"(
varying highp vec2 centerTextureCoordinate;
varying highp vec2 oneStepLeftTextureCoordinate;
varying highp vec2 twoStepsLeftTextureCoordinate;
varying highp vec2 oneStepRightTextureCoordinate;
varying highp vec2 twoStepsRightTextureCoordinate;
)";

} // namespace

std::string pixFiveSampleBlurVertexShader(std::string_view nearSteps, std::string_view farSteps) {
    std::string shader = R"(
attribute vec4 position;
attribute vec4 inputTextureCoordinate;

uniform float texelWidthOffset;
uniform float texelHeightOffset;
)";
    shader += kSampleCoordinates;
    shader += "\nvoid main()\n{\n    gl_Position = position;\n\n";
    const std::string near(nearSteps), far(farSteps);
    shader +=
        "    vec2 firstOffset = vec2(" + near + " * texelWidthOffset, " + near + " * texelHeightOffset);\n";
    shader +=
        "    vec2 secondOffset = vec2(" + far + " * texelWidthOffset, " + far + " * texelHeightOffset);\n";
    shader += R"(
    centerTextureCoordinate = inputTextureCoordinate.xy;
    oneStepLeftTextureCoordinate = inputTextureCoordinate.xy - firstOffset;
    twoStepsLeftTextureCoordinate = inputTextureCoordinate.xy - secondOffset;
    oneStepRightTextureCoordinate = inputTextureCoordinate.xy + firstOffset;
    twoStepsRightTextureCoordinate = inputTextureCoordinate.xy + secondOffset;
}
)";
    return shader;
}

std::string pixFiveSampleBlurFragmentShader(std::string_view centreWeight, std::string_view nearWeight,
                                            std::string_view farWeight, PixBlurredChannels channels) {
    const bool red = channels == PixBlurredChannels::RedAsLuminance;
    const std::string sum = red ? "lowp float fragmentColor = " : "lowp vec4 fragmentColor = ";
    const std::string read = red ? ").r * " : ") * ";
    const std::string centre(centreWeight), near(nearWeight), far(farWeight);
    std::string shader = "\nprecision highp float;\n\nuniform sampler2D inputImageTexture;\n";
    shader += kSampleCoordinates;
    shader += "\nvoid main()\n{\n";
    shader += "    " + sum + "texture2D(inputImageTexture, centerTextureCoordinate" + read + centre + ";\n";
    for (const auto& [coordinate, weight] : {std::pair{"oneStepLeft", near},
                                             {"oneStepRight", near},
                                             {"twoStepsLeft", far},
                                             {"twoStepsRight", far}})
        shader += "    fragmentColor += texture2D(inputImageTexture, " + std::string(coordinate) +
                  "TextureCoordinate" + read + weight + ";\n";
    shader += red ? "    gl_FragColor = vec4(vec3(fragmentColor), 1.0);\n}\n"
                  : "    gl_FragColor = fragmentColor;\n}\n";
    return shader;
}

} // namespace zm
