#include "framework/Source/PixOutput.h"

#include "framework/Source/PixContext.h"
#include "framework/Source/PixAudioEncodingTarget.h"
#include "platform/core/Log.h"
#include "platform/gfx/Image.h"

#include <algorithm>

namespace zm {

PixOutput::~PixOutput() {
    PixOutput::removeAllTargets();
    PixOutput::deleteOutputTexture();
}

void PixOutput::setInputTextureForTarget(PixInput& target, int textureIndex) {
    target.setInputTexture(textureForOutput(), textureIndex);
}

void PixOutput::notifyTargetsAboutNewOutputTexture() {
    for (std::size_t position = 0; position < m_targets.size(); ++position)
        setInputTextureForTarget(*m_targets[position], textureIndexOfTarget(position));
}

std::vector<std::shared_ptr<PixInput>> PixOutput::targets() const {
    std::vector<std::shared_ptr<PixInput>> copy;
    runSynchronouslyOnContextQueue([&] { copy = m_targets; });
    return copy;
}

void PixOutput::addTarget(const std::shared_ptr<PixInput>& newTarget) {
    if (!newTarget)
        return;
    addTarget(newTarget, newTarget->nextAvailableTextureIndex());
    if (newTarget->shouldIgnoreUpdatesToThisTarget())
        setTargetToIgnoreForUpdates(newTarget.get());
}

void PixOutput::setTargetToIgnoreForUpdates(PixInput* target) {
    runSynchronouslyOnContextQueue([&] { m_targetToIgnoreForUpdates = target; });
}

void PixOutput::addTarget(const std::shared_ptr<PixInput>& newTarget, int textureLocation) {
    if (!newTarget)
        return;
    const bool wantsMonochrome = newTarget->wantsMonochromeInput();
    runSynchronouslyOnContextQueue([&] {
        if (std::find(m_targets.begin(), m_targets.end(), newTarget) != m_targets.end())
            return;
        setInputTextureForTarget(*newTarget, textureLocation);
        newTarget->setTextureDelegate(this, textureLocation);
        m_targets.push_back(newTarget);
        m_targetTextureIndices.push_back(textureLocation);
        m_allTargetsWantMonochromeData = m_allTargetsWantMonochromeData && wantsMonochrome;
    });
}

void PixOutput::removeTarget(const std::shared_ptr<PixInput>& targetToRemove) {
    if (!targetToRemove)
        return;
    runSynchronouslyOnContextQueue([&] {
        const auto found = std::find(m_targets.begin(), m_targets.end(), targetToRemove);
        if (found == m_targets.end())
            return;
        if (m_targetToIgnoreForUpdates == targetToRemove.get())
            m_targetToIgnoreForUpdates = nullptr;
        const auto position = found - m_targets.begin();
        detach(*targetToRemove, m_targetTextureIndices[position]);
        m_targetTextureIndices.erase(m_targetTextureIndices.begin() + position);
        m_targets.erase(found);
        targetToRemove->endProcessing();
    });
}

void PixOutput::removeAllTargets() {
    runSynchronouslyOnContextQueue([&] {
        for (std::size_t position = 0; position < m_targets.size(); ++position)
            detach(*m_targets[position], textureIndexOfTarget(position));
        m_targets.clear();
        m_targetTextureIndices.clear();
        m_allTargetsWantMonochromeData = true;
        // The ignored target was one of these; a later target at the same address must not inherit it.
        m_targetToIgnoreForUpdates = nullptr;
    });
}

void PixOutput::detach(PixInput& target, int textureIndex) {
    target.setInputTexture(0, textureIndex);
    target.setInputSize({}, textureIndex);
    target.setTextureDelegate(nullptr, textureIndex);
    target.setInputRotation(PixInputRotationNone, textureIndex);
}

void PixOutput::forceProcessingAtSize(core::Size) {}

void PixOutput::forceProcessingAtSizeRespectingAspectRatio(core::Size) {}

void PixOutput::cleanupOutputImage() {
    core::log(core::LogLevel::Warning, "WARNING: Undefined image cleanup");
}

gl::RgbaImage PixOutput::newImageFromCurrentlyProcessedOutput() {
    return {};
}

std::shared_ptr<const gfx::Image> PixOutput::imageFromCurrentlyProcessedOutput() {
    const gl::RgbaImage pixels = newImageFromCurrentlyProcessedOutput();
    if (pixels.empty())
        return nullptr;
    return gfx::Image::fromPixels(pixels.bytes, pixels.width, pixels.height, pixels.width * 4,
                                  gfx::PixelLayout::StraightRGBA, 1.0f);
}

void PixOutput::conserveMemoryForNextFrame() {
    runSynchronouslyOnContextQueue([&] {
        m_shouldConserveMemoryForNextFrame = true;
        for (const auto& target : m_targets) {
            if (target.get() != m_targetToIgnoreForUpdates)
                target->conserveMemoryForNextFrame();
        }
    });
}

void PixOutput::textureNoLongerNeededForTarget(PixInput*) {
    // A source that never counted its readers (a still image) keeps its texture.
    if (m_outputTextureRetainCount == 0)
        return;
    if (--m_outputTextureRetainCount == 0)
        cleanupOutputImage();
}

void PixOutput::setFrameProcessingCompletionBlock(FrameProcessingCompletionBlock block) {
    runSynchronouslyOnContextQueue([&] { m_frameProcessingCompletionBlock = std::move(block); });
}

void PixOutput::setAudioEncodingTarget(std::shared_ptr<PixAudioEncodingTarget> newValue) {
    m_audioEncodingTarget = std::move(newValue);
    if (m_audioEncodingTarget && !m_audioEncodingTarget->hasAudioTrack())
        m_audioEncodingTarget->setHasAudioTrack(true);
}

void PixOutput::setOutputTextureOptions(const GPUTextureOptions& options) {
    runSynchronouslyOnContextQueue([&] { m_outputTextureOptions = options; });
}

void PixOutput::initializeOutputTextureIfNeeded() {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        if (m_outputTexture)
            return;
        glActiveTexture(GL_TEXTURE0);
        glGenTextures(1, &m_outputTexture);
        glBindTexture(GL_TEXTURE_2D, m_outputTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                        static_cast<GLint>(m_outputTextureOptions.minFilter));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER,
                        static_cast<GLint>(m_outputTextureOptions.magFilter));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(m_outputTextureOptions.wrapS));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(m_outputTextureOptions.wrapT));
        glBindTexture(GL_TEXTURE_2D, 0);
    });
}

void PixOutput::deleteOutputTexture() {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        if (m_outputTexture) {
            glDeleteTextures(1, &m_outputTexture);
            m_outputTexture = 0;
        }
    });
}

} // namespace zm
