#include "framework/Source/PixTextureOutput.h"

#include "framework/Source/PixContext.h"

namespace zm {

std::shared_ptr<PixTextureOutput> PixTextureOutput::create() {
    return std::shared_ptr<PixTextureOutput>(new PixTextureOutput);
}

void PixTextureOutput::setDelegate(PixTextureOutputDelegate* newDelegate) {
    runSynchronouslyOnContextQueue([&] { m_delegate = newDelegate; });
}

void PixTextureOutput::newFrameReadyAtTime(PixFrameTime, int) {
    if (m_delegate)
        m_delegate->newFrameReadyFromTextureOutput(*this);
}

void PixTextureOutput::setInputTexture(GLuint newInputTexture, int) {
    m_texture = newInputTexture;
}

} // namespace zm
