#pragma once

#include "framework/Source/PixInput.h"
#include "platform/ui/View.h"

#include <array>
#include <memory>
#include <mutex>

namespace gfx {
class Image;
}

namespace zm {

class PixRenderTarget;
class PixTextureCopy;

// How a display view fits a picture of another shape.
enum PixViewFillMode : int {
    PixViewFillModeStretch = 0,    // fills the view, the aspect ratio ignored
    PixViewFillModeAspectFit = 1,  // whole, with the background colour beside it
    PixViewFillModeAspectFill = 2, // covers the view, the overflow cut off
};

// The on-screen end of a graph: a view that shows every frame it is given, letterboxed or cropped by
// its fill mode over its background colour, turned by the source's rotation.
//
// Each frame is drawn on the processing queue into a framebuffer of the view's size in pixels and read
// back; the picture reaches the view on the main queue, which draws it at the next render. Frames that
// come faster than the main queue takes them replace the one still waiting, so a busy main thread sees
// the newest picture and never a backlog. A change of size reaches it through layout, and the next frame
// is drawn at the new size.
//
// Threads: the view operations are the main thread's, as for every view; the target operations come on
// the processing queue. The view may go away while a picture is on its way to it.
class PixView : public ui::View, public PixInput {
public:
    static std::shared_ptr<PixView> create(const core::Rect& frame = {});
    ~PixView() override;

    // The texture coordinates of the quad's corners for a rotation, for a display whose first row is
    // its top one: the offscreen table (PixFilter) with the picture mirrored top to bottom.
    static const std::array<GLfloat, 8>& textureCoordinatesForRotation(PixInputRotation rotationMode);
    // How far the picture reaches from the centre, as a fraction of the view each way (1: to the edge).
    static core::Size quadHalfExtents(PixViewFillMode fillMode, core::Size inputImageSize, core::Size viewSize);

    PixViewFillMode fillMode() const;
    void setFillMode(PixViewFillMode newValue);
    // The colour around the picture, from the next frame on.
    void setBackgroundColorRed(GLfloat redComponent, GLfloat greenComponent, GLfloat blueComponent,
                               GLfloat alphaComponent);
    // The size of the framebuffer the frames are drawn into: the bounds at the screen's scale.
    core::Size sizeInPixels() const;
    // The quad the picture is drawn over: (x, y) of its four strip corners.
    std::array<GLfloat, 8> imageVertices() const;
    void setEnabled(bool newValue) { m_enabled = newValue; }

    // PixInput
    void newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) override;
    void setInputTexture(GLuint newInputTexture, int textureIndex) override;
    void setTextureDelegate(PixTextureDelegate*, int) override {}
    int nextAvailableTextureIndex() const override { return 0; }
    void setInputSize(core::Size newSize, int textureIndex) override;
    void setInputRotation(PixInputRotation newInputRotation, int textureIndex) override;
    core::Size maximumOutputSize() const override;
    void endProcessing() override {}
    bool shouldIgnoreUpdatesToThisTarget() const override { return false; }
    bool enabled() const override { return m_enabled; }
    void conserveMemoryForNextFrame() override {}
    bool wantsMonochromeInput() const override { return false; }
    void setCurrentlyReceivingMonochromeInput(bool) override {}

protected:
    explicit PixView(const core::Rect& frame);

    void draw(gfx::Canvas& canvas) override;
    void layoutSubviews() override;

private:
    // On the processing queue.
    void recalculateViewGeometry();
    void presentFramebuffer();

    std::shared_ptr<const gfx::Image> m_picture; // the last frame shown; main thread
    std::mutex m_pendingPictureMutex;
    std::shared_ptr<const gfx::Image> m_pendingPicture; // drawn, not yet taken by the main queue

    // Everything below is touched on the processing queue only.
    std::unique_ptr<PixTextureCopy> m_displayProgram;
    std::unique_ptr<PixRenderTarget> m_displayFramebuffer;
    core::Size m_boundsSize; // points
    core::Size m_sizeInPixels;
    float m_contentScale = 1;
    core::Size m_inputImageSize; // after the rotation
    std::array<GLfloat, 8> m_imageVertices{};
    std::array<GLfloat, 4> m_backgroundColor{0, 0, 0, 1};
    PixViewFillMode m_fillMode = PixViewFillModeAspectFit;
    PixInputRotation m_inputRotation = PixInputRotationNone;
    GLuint m_inputTextureForDisplay = 0;
    bool m_enabled = true;
};

} // namespace zm
