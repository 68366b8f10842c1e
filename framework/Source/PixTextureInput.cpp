#include "framework/Source/PixTextureInput.h"

#include "framework/Source/PixContext.h"

namespace zm {

std::shared_ptr<PixTextureInput> PixTextureInput::create(GLuint newInputTexture, core::Size newTextureSize) {
    return std::shared_ptr<PixTextureInput>(new PixTextureInput(newInputTexture, newTextureSize));
}

PixTextureInput::PixTextureInput(GLuint newInputTexture, core::Size newTextureSize)
    : m_textureSize(newTextureSize) {
    deleteOutputTexture();
    runSynchronouslyOnContextQueue([&] { m_outputTexture = newInputTexture; });
}

void PixTextureInput::processTextureWithFrameTime(PixFrameTime frameTime) {
    auto self = std::static_pointer_cast<PixTextureInput>(shared_from_this());
    runAsynchronouslyOnContextQueue([self, frameTime] {
        const auto targets = self->m_targets;
        const auto textureIndices = self->m_targetTextureIndices;
        for (std::size_t position = 0; position < targets.size(); ++position) {
            targets[position]->setInputSize(self->m_textureSize, textureIndices[position]);
            targets[position]->newFrameReadyAtTime(frameTime, textureIndices[position]);
        }
    });
}

} // namespace zm
