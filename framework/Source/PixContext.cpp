#include "framework/Source/PixContext.h"

#include "framework/Source/GLProgram.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/Log.h"
#include "platform/gl/Context.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <optional>
#include <sstream>
#include <unordered_map>
#include <vector>

namespace zm {

struct PixContext::State {
    std::shared_ptr<core::DispatchQueue> contextQueue;

    // Everything below is touched on the processing queue only.
    std::unique_ptr<gl::Context> context;
    bool contextAttempted = false;
    std::shared_ptr<GLProgram> currentShaderProgram;
    std::unordered_map<std::string, std::shared_ptr<GLProgram>> shaderProgramCache;
    std::optional<GLint> maximumTextureSize;
    std::optional<std::vector<std::string>> extensionNames;
};

namespace {

std::atomic<GLint> overriddenMaximumTextureSize{0}; // 0: none
std::atomic<int> overriddenRedTextures{-1};         // -1: none

} // namespace

void PixContext::overrideDeviceCapabilities(std::optional<GLint> maximumTextureSize, std::optional<bool> redTextures) {
    overriddenMaximumTextureSize.store(maximumTextureSize.value_or(0));
    overriddenRedTextures.store(redTextures ? static_cast<int>(*redTextures) : -1);
}

PixContext::PixContext()
    : m_state(std::make_unique<State>()) {
    m_state->contextQueue = core::DispatchQueue::serial("org.zembrix.Pix.openGLESContextQueue");
}

PixContext& PixContext::sharedImageProcessingContext() {
    // Lives as long as the process: filters may be released from any thread at any time, even late.
    static PixContext* const shared = new PixContext;
    return *shared;
}

bool PixContext::isOnContextQueue() {
    return sharedImageProcessingContext().m_state->contextQueue->isCurrent();
}

bool PixContext::useImageProcessingContext() {
    assert(isOnContextQueue() && "GL work of the image framework runs on its processing queue");
    State& state = *sharedImageProcessingContext().m_state;
    if (!state.contextAttempted) {
        state.contextAttempted = true;
        auto created = gl::Context::create();
        if (!created) {
            core::log(core::LogLevel::Error,
                      "Unable to create an OpenGL ES 2.0 context. The Pix framework requires "
                      "OpenGL ES 2.0 support to work. " +
                          created.error().text());
            return false;
        }
        state.context = std::move(created).value();
        state.context->makeCurrent();
        glDisable(GL_DEPTH_TEST);
    }
    return state.context && state.context->makeCurrent();
}

void PixContext::setActiveShaderProgram(const std::shared_ptr<GLProgram>& shaderProgram) {
    useImageProcessingContext();
    State& state = *sharedImageProcessingContext().m_state;
    if (state.currentShaderProgram == shaderProgram)
        return;
    state.currentShaderProgram = shaderProgram;
    if (shaderProgram)
        shaderProgram->use();
}

GLint PixContext::maximumTextureSizeForThisDevice() {
    if (const GLint overridden = overriddenMaximumTextureSize.load())
        return overridden;
    State& state = *sharedImageProcessingContext().m_state;
    GLint maximumTextureSize = 0;
    runSynchronouslyOnContextQueue([&] {
        if (!state.maximumTextureSize) {
            GLint value = 0;
            if (useImageProcessingContext())
                glGetIntegerv(GL_MAX_TEXTURE_SIZE, &value);
            state.maximumTextureSize = value;
        }
        maximumTextureSize = *state.maximumTextureSize;
    });
    return maximumTextureSize;
}

GLint PixContext::maximumTextureUnitsForThisDevice() {
    GLint maximumTextureUnits = 0;
    runSynchronouslyOnContextQueue([&] {
        if (useImageProcessingContext())
            glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &maximumTextureUnits);
    });
    return maximumTextureUnits;
}

bool PixContext::deviceSupportsOpenGLESExtension(const std::string& extension) {
    State& state = *sharedImageProcessingContext().m_state;
    bool supported = false;
    runSynchronouslyOnContextQueue([&] {
        if (!state.extensionNames) {
            std::vector<std::string> names;
            const GLubyte* list = useImageProcessingContext() ? glGetString(GL_EXTENSIONS) : nullptr;
            std::istringstream words(list ? reinterpret_cast<const char*>(list) : "");
            for (std::string name; std::getline(words, name, ' ');)
                names.push_back(name);
            state.extensionNames = std::move(names);
        }
        supported = std::find(state.extensionNames->begin(), state.extensionNames->end(), extension) !=
                    state.extensionNames->end();
    });
    return supported;
}

bool PixContext::deviceSupportsRedTextures() {
    if (const int overridden = overriddenRedTextures.load(); overridden >= 0)
        return overridden != 0;
    static const bool supported = deviceSupportsOpenGLESExtension("GL_EXT_texture_rg");
    return supported;
}

bool PixContext::deviceSupportsFramebufferReads() {
    static const bool supported = deviceSupportsOpenGLESExtension("GL_EXT_shader_framebuffer_fetch");
    return supported;
}

core::Size PixContext::sizeThatFitsWithinATextureForSize(core::Size inputSize) {
    return sizeThatFitsWithinATextureForSize(inputSize,
                                             static_cast<float>(maximumTextureSizeForThisDevice()));
}

core::Size PixContext::sizeThatFitsWithinATextureForSize(core::Size inputSize, float maximumTextureSize) {
    if (inputSize.width < maximumTextureSize && inputSize.height < maximumTextureSize)
        return inputSize;
    if (inputSize.width > inputSize.height)
        return {maximumTextureSize, inputSize.height * (maximumTextureSize / inputSize.width)};
    return {inputSize.width * (maximumTextureSize / inputSize.height), maximumTextureSize};
}

std::shared_ptr<GLProgram> PixContext::programForVertexShaderString(const std::string& vertexShaderString,
                                                                    const std::string& fragmentShaderString) {
    assert(isOnContextQueue());
    std::shared_ptr<GLProgram>& program =
        m_state->shaderProgramCache["V: " + vertexShaderString + " - F: " + fragmentShaderString];
    if (!program)
        program = std::make_shared<GLProgram>(vertexShaderString, fragmentShaderString);
    return program;
}

void runSynchronouslyOnContextQueue(const std::function<void()>& block) {
    core::DispatchQueue& queue = *PixContext::sharedImageProcessingContext().m_state->contextQueue;
    if (queue.isCurrent())
        block();
    else
        queue.sync(block);
}

void runAsynchronouslyOnContextQueue(std::function<void()> block) {
    core::DispatchQueue& queue = *PixContext::sharedImageProcessingContext().m_state->contextQueue;
    if (queue.isCurrent())
        block();
    else
        queue.async(std::move(block));
}

} // namespace zm
