#pragma once

#include "framework/Source/PixFrameTime.h"
#include "framework/Source/PixInputRotation.h"
#include "platform/core/Geometry.h"
#include "platform/gl/GLES.h"

namespace zm {

class PixTextureDelegate;

// A consumer of frames in the image graph: a filter, or any other sink. A source talks to it at one
// numbered input slot; every call comes from work running on the processing queue (PixContext), except
// the three questions that PixOutput::addTarget asks first (nextAvailableTextureIndex,
// shouldIgnoreUpdatesToThisTarget, wantsMonochromeInput).
class PixInput {
public:
    virtual ~PixInput() = default;

    // The source has rendered a new frame into the texture it handed over for the slot.
    virtual void newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) = 0;
    // The texture to read at the slot; 0 detaches.
    virtual void setInputTexture(GLuint texture, int textureIndex) = 0;
    // Whom to tell that the slot's texture is no longer needed; null detaches. Not owned: the source
    // detaches itself (passing null) before it goes away.
    virtual void setTextureDelegate(PixTextureDelegate* textureDelegate, int textureIndex) = 0;
    // The slot that a newly added source is given.
    virtual int nextAvailableTextureIndex() const = 0;
    // The pixel size of the frames arriving at the slot; zero on detach.
    virtual void setInputSize(core::Size newSize, int textureIndex) = 0;
    virtual void setInputRotation(PixInputRotation newInputRotation, int textureIndex) = 0;
    // The largest output the target can use; zero means no limit.
    virtual core::Size maximumOutputSize() const = 0;
    // The stream feeding the target has ended.
    virtual void endProcessing() = 0;
    // True: a source records this target as the one that gets no new frames.
    virtual bool shouldIgnoreUpdatesToThisTarget() const = 0;
    virtual bool enabled() const = 0;
    // Release the input right after the next render and pass the request on.
    virtual void conserveMemoryForNextFrame() = 0;
    virtual bool wantsMonochromeInput() const = 0;
    virtual void setCurrentlyReceivingMonochromeInput(bool newValue) = 0;

    // Sources that force a processing size ask their targets to drop their framebuffers, so that the
    // next frame rebuilds them; targets without one have nothing to do.
    virtual void destroyFilterFBO() {}
};

} // namespace zm
