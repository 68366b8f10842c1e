#pragma once

#include "framework/Source/PixOutput.h"

#include <memory>

namespace zm {

// A source made of a GL texture the caller draws into: each processTextureWithFrameTime() pushes it to
// the targets as one frame. The texture becomes this source's output texture, so it is deleted when the
// source goes away.
//
// Threads: any thread; the texture must belong to the framework's context (made on its processing
// queue), and pushes are queued there.
class PixTextureInput : public PixOutput {
public:
    static std::shared_ptr<PixTextureInput> create(GLuint newInputTexture, core::Size newTextureSize);

    void processTextureWithFrameTime(PixFrameTime frameTime);

private:
    PixTextureInput(GLuint newInputTexture, core::Size newTextureSize);

    const core::Size m_textureSize;
};

} // namespace zm
