#pragma once

#include "platform/core/Geometry.h"
#include "platform/gl/GLES.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace zm {

class GLProgram;

// The one owner of what the image graph shares: an OpenGL ES 2.0 context, the serial processing queue
// on which every GL call of the framework runs, the cache of shader programs and the device queries.
// Sources, filters and sinks make no contexts or queues of their own; they submit their GL work through
// runSynchronouslyOnContextQueue and runAsynchronouslyOnContextQueue.
//
// Threads: the context is current on the processing queue only (an EGL context is current on one
// thread at a time), so the device queries go through the queue too and may be asked from any thread.
// Operations marked "on the queue" must run in work submitted to it.
class PixContext {
public:
    // Made on first use, never destroyed.
    static PixContext& sharedImageProcessingContext();

    // On the queue: makes the GL context current there. False when the machine offers no OpenGL ES 2.0
    // (logged when the context is first asked for); GL calls then do nothing.
    static bool useImageProcessingContext();
    // On the queue: makes the program current, skipping the GL call when it already is.
    static void setActiveShaderProgram(const std::shared_ptr<GLProgram>& shaderProgram);

    static GLint maximumTextureSizeForThisDevice();
    static GLint maximumTextureUnitsForThisDevice();
    // True when the GL extension list names the extension exactly.
    static bool deviceSupportsOpenGLESExtension(const std::string& extension);
    static bool deviceSupportsRedTextures();
    static bool deviceSupportsFramebufferReads();

    // The largest size of the same aspect ratio that a texture can hold; not rounded.
    static core::Size sizeThatFitsWithinATextureForSize(core::Size inputSize);
    static core::Size sizeThatFitsWithinATextureForSize(core::Size inputSize, float maximumTextureSize);

    // On the queue: the program for the pair of shader texts, made (compiled, not linked) on a miss.
    // Every filter built from the same pair shares it for the life of the process; the first one to get
    // it unlinked adds its attributes and links it.
    std::shared_ptr<GLProgram> programForVertexShaderString(const std::string& vertexShaderString,
                                                            const std::string& fragmentShaderString);

    // True when the calling code runs on the processing queue.
    static bool isOnContextQueue();

    // Makes the device queries answer as a smaller device would (a texture limit, no red textures), for
    // tests of what sources do there; nullopt answers for the device again.
    static void overrideDeviceCapabilities(std::optional<GLint> maximumTextureSize, std::optional<bool> redTextures);

private:
    friend void runSynchronouslyOnContextQueue(const std::function<void()>& block);
    friend void runAsynchronouslyOnContextQueue(std::function<void()> block);

    struct State;

    PixContext();
    ~PixContext() = delete;

    std::unique_ptr<State> m_state;
};

// Runs the block on the processing queue and waits for it; inline when already on the queue, so a
// synchronous operation may call another.
void runSynchronouslyOnContextQueue(const std::function<void()>& block);
// Queues the block and returns at once; inline when already on the queue, which keeps work issued from
// the queue in program order.
void runAsynchronouslyOnContextQueue(std::function<void()> block);

} // namespace zm
