#pragma once

#include "framework/Source/GPUTextureOptions.h"
#include "framework/Source/PixInput.h"
#include "framework/Source/PixTextureDelegate.h"
#include "platform/core/Geometry.h"
#include "platform/gl/RgbaImage.h"

#include <functional>
#include <memory>
#include <vector>

namespace gfx {
class Image;
}

namespace zm {

class PixAudioEncodingTarget;

// A source of the image graph: it owns one output texture and an ordered list of targets, each attached
// at one input slot, and pushes its frames to them. Filters (PixFilter) are at once sources and targets.
//
// Ownership: a source owns its targets (shared); a target knows its source only as a texture delegate
// that it does not own, and the source detaches itself from every target before it goes away.
// Sources are made by factories and always owned by shared pointers.
//
// Threads: the target list, the textures and every frame live on the processing queue (PixContext);
// the public operations may be called from any thread and wait there for their GL work.
class PixOutput : public PixTextureDelegate, public std::enable_shared_from_this<PixOutput> {
public:
    using FrameProcessingCompletionBlock = std::function<void(PixOutput& output, PixFrameTime frameTime)>;

    virtual ~PixOutput();
    PixOutput(const PixOutput&) = delete;
    PixOutput& operator=(const PixOutput&) = delete;

    // The texture handed to targets.
    virtual GLuint textureForOutput() const { return m_outputTexture; }
    void setInputTextureForTarget(PixInput& target, int textureIndex);
    void notifyTargetsAboutNewOutputTexture();

    std::vector<std::shared_ptr<PixInput>> targets() const;
    // Attaches the target at its next free slot. Adding a target twice changes nothing.
    void addTarget(const std::shared_ptr<PixInput>& newTarget);
    virtual void addTarget(const std::shared_ptr<PixInput>& newTarget, int textureLocation);
    // Detaches the target (texture 0, size zero, no delegate, no rotation), then ends its stream.
    virtual void removeTarget(const std::shared_ptr<PixInput>& targetToRemove);
    // Detaches every target, without ending their streams.
    virtual void removeAllTargets();

    virtual void forceProcessingAtSize(core::Size frameSize);
    virtual void forceProcessingAtSizeRespectingAspectRatio(core::Size frameSize);
    // Frees the output image once no target needs it (conserving memory).
    virtual void cleanupOutputImage();
    // The last frame, read back as straight RGBA, top row first; empty when there is nothing to read.
    virtual gl::RgbaImage newImageFromCurrentlyProcessedOutput();
    // The same as an image of scale 1, so that its size in points is its size in pixels; nullptr when
    // there is nothing to read.
    std::shared_ptr<const gfx::Image> imageFromCurrentlyProcessedOutput();
    // Readies the source for a read-back of its next frame; nothing to do for most sources.
    virtual void prepareForImageCapture() {}
    // Whether the frames handed on are luminance only.
    virtual bool providesMonochromeOutput() const { return false; }
    // Asks the whole chain below to release each image as soon as it has been consumed.
    virtual void conserveMemoryForNextFrame();

    void textureNoLongerNeededForTarget(PixInput* target) override;

    bool shouldSmoothlyScaleOutput() const { return m_shouldSmoothlyScaleOutput; }
    void setShouldSmoothlyScaleOutput(bool newValue) { m_shouldSmoothlyScaleOutput = newValue; }
    bool shouldIgnoreUpdatesToThisTarget() const { return m_shouldIgnoreUpdatesToThisTarget; }
    void setShouldIgnoreUpdatesToThisTarget(bool newValue) { m_shouldIgnoreUpdatesToThisTarget = newValue; }
    bool enabled() const { return m_enabled; }
    void setEnabled(bool newValue) { m_enabled = newValue; }
    // The one target that gets neither new frames nor conserve-memory requests; not owned.
    PixInput* targetToIgnoreForUpdates() const { return m_targetToIgnoreForUpdates; }
    virtual void setTargetToIgnoreForUpdates(PixInput* target);
    // Called on the processing queue after each frame is rendered, before targets are told.
    virtual void setFrameProcessingCompletionBlock(FrameProcessingCompletionBlock block);
    // What records this source's sound (movies and cameras have some: a movie writer); it gets an
    // audio track when it has none.
    std::shared_ptr<PixAudioEncodingTarget> audioEncodingTarget() const { return m_audioEncodingTarget; }
    virtual void setAudioEncodingTarget(std::shared_ptr<PixAudioEncodingTarget> newValue);
    const GPUTextureOptions& outputTextureOptions() const { return m_outputTextureOptions; }
    // Used for the textures made from now on: set it before the first frame.
    void setOutputTextureOptions(const GPUTextureOptions& options);

protected:
    PixOutput() = default;

    // Creates the output texture when there is none.
    void initializeOutputTextureIfNeeded();
    virtual void deleteOutputTexture();

    // The slot of a target in the list; the list is read on the processing queue only.
    int textureIndexOfTarget(std::size_t position) const { return m_targetTextureIndices[position]; }

    std::vector<std::shared_ptr<PixInput>> m_targets;
    std::vector<int> m_targetTextureIndices; // parallel to m_targets
    GLuint m_outputTexture = 0;
    core::Size m_inputTextureSize;  // pixels
    core::Size m_forcedMaximumSize; // the bounds that forced processing fits frames into
    bool m_overrideInputSize = false;
    unsigned m_outputTextureRetainCount = 0;              // targets still reading the output texture
    PixTextureDelegate* m_firstTextureDelegate = nullptr; // the source, which detaches before it goes
    bool m_shouldConserveMemoryForNextFrame = false;
    bool m_allTargetsWantMonochromeData = true;
    FrameProcessingCompletionBlock m_frameProcessingCompletionBlock;
    GPUTextureOptions m_outputTextureOptions;
    std::shared_ptr<PixAudioEncodingTarget> m_audioEncodingTarget;

private:
    void detach(PixInput& target, int textureIndex);

    bool m_shouldSmoothlyScaleOutput = false;
    bool m_shouldIgnoreUpdatesToThisTarget = false;
    bool m_enabled = true;
    PixInput* m_targetToIgnoreForUpdates = nullptr; // one of m_targets, or none
};

} // namespace zm
