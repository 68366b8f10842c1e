#include "framework/Source/GLProgram.h"
#include "framework/Source/PixFilter.h"
#include "platform/gl/Context.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

// The filters' own vertex shader: the attributes below are the ones it declares.
const char* const kVertexShader = PixDefaultVertexShader;

const char* const kFragmentShader = R"(
varying highp vec2 textureCoordinate;
uniform sampler2D inputImageTexture;
uniform lowp float brightness;
void main()
{
    gl_FragColor = texture2D(inputImageTexture, textureCoordinate) + vec4(brightness);
}
)";

const char* const kBrokenFragmentShader = R"(
void main()
{
    gl_FragColor = undeclaredColour;
}
)";

// GLProgram is used where a context is current; here the test's own thread holds one.
class GLProgramTest : public testing::Test {
protected:
    void SetUp() override {
        auto result = gl::Context::create();
        ASSERT_TRUE(result) << result.error().text();
        m_context = std::move(result).value();
        ASSERT_TRUE(m_context->makeCurrent());
    }

    std::unique_ptr<gl::Context> m_context;
};

TEST_F(GLProgramTest, AttributesKeepTheLocationOfTheirFirstAdding) {
    GLProgram program(kVertexShader, kFragmentShader);
    program.addAttribute("position");
    program.addAttribute("position");
    program.addAttribute("inputTextureCoordinate");
    ASSERT_TRUE(program.link());

    EXPECT_EQ(program.attributeIndex("position"), 0u);
    EXPECT_EQ(program.attributeIndex("inputTextureCoordinate"), 1u);
    // GL agrees with the list: the locations were bound before linking.
    EXPECT_EQ(glGetAttribLocation(program.program(), "position"), 0);
    EXPECT_EQ(glGetAttribLocation(program.program(), "inputTextureCoordinate"), 1);
}

TEST_F(GLProgramTest, LinkingDropsTheShadersAndTheirLogs) {
    GLProgram program(kVertexShader, kFragmentShader);
    EXPECT_FALSE(program.initialized());
    ASSERT_TRUE(program.link());

    EXPECT_TRUE(program.initialized());
    EXPECT_EQ(program.vertexShaderLog(), "");
    EXPECT_EQ(program.fragmentShaderLog(), "");
    EXPECT_GE(program.uniformIndex("brightness"), 0);
    EXPECT_EQ(program.uniformIndex("noSuchUniform"), -1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GLProgramTest, AFailedLinkKeepsTheCompileLogsReadable) {
    GLProgram program(kVertexShader, kBrokenFragmentShader);
    EXPECT_FALSE(program.link());

    EXPECT_FALSE(program.initialized());
    EXPECT_NE(program.fragmentShaderLog().find("undeclaredColour"), std::string::npos)
        << program.fragmentShaderLog();
    EXPECT_EQ(program.vertexShaderLog(), "");
    EXPECT_FALSE(program.programLog().empty());
}

} // namespace
} // namespace zm
