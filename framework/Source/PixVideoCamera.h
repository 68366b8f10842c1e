#pragma once

#include "framework/Source/PixOutput.h"
#include "platform/core/Semaphore.h"
#include "platform/media/CaptureDevice.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace core {
class DispatchQueue;
}

namespace media {
class CaptureDataOutput;
class CaptureDeviceInput;
class CaptureOutput;
class CaptureSession;
class PixelBuffer;
class SampleBuffer;
} // namespace media

namespace zm {

class PixYUVConversion;

// How the interface is turned, which decides how a camera's picture must be turned to be upright.
enum InterfaceOrientation : int {
    InterfaceOrientationUnknown = 0,
    InterfaceOrientationPortrait = 1,
    InterfaceOrientationPortraitUpsideDown = 2,
    InterfaceOrientationLandscapeRight = 3,
    InterfaceOrientationLandscapeLeft = 4,
};

// Told of every frame the camera admits, on the processing queue, before it is processed. Optional.
class PixVideoCameraDelegate {
public:
    virtual ~PixVideoCameraDelegate() = default;
    virtual void willOutputSampleBuffer(const std::shared_ptr<media::SampleBuffer>&) {}
};

// The live source of the graph: a camera's frames, converted from YUV to RGB on the GPU and handed to the
// targets with their times and the rotation the interface orientation calls for. At most one frame is
// in the pipeline: one that comes while another is queued or rendering is dropped, never queued. While a
// movie writer is its audio encoding target, the microphone's sound goes to it.
//
// Threads: frames arrive on a global queue and are processed on the processing queue; sound arrives on
// another global queue and goes straight to the writer. Public operations may be called from any thread.
class PixVideoCamera : public PixOutput {
public:
    // 640 x 480 from the back camera.
    static std::shared_ptr<PixVideoCamera> create();
    // nullptr when no camera is at the position, or its frames cannot be had.
    static std::shared_ptr<PixVideoCamera> create(const std::string& sessionPreset,
                                                  media::CaptureDevicePosition cameraPosition);
    ~PixVideoCamera() override;

    void startCameraCapture();
    void stopCameraCapture();
    // Frames keep coming but are dropped before any GL work.
    void pauseCameraCapture() { m_capturePaused.store(true); }
    void resumeCameraCapture() { m_capturePaused.store(false); }
    // Switches between the back and the front camera; the rotation follows.
    void rotateCamera();
    media::CaptureDevicePosition cameraPosition() const;
    static bool isFrontFacingCameraPresent();
    static bool isBackFacingCameraPresent();

    std::string captureSessionPreset() const;
    void setCaptureSessionPreset(const std::string& preset);
    int frameRate() const { return m_frameRate.load(); }
    void setFrameRate(int frameRate) { m_frameRate.store(frameRate); }

    InterfaceOrientation outputImageOrientation() const { return m_outputImageOrientation.load(); }
    void setOutputImageOrientation(InterfaceOrientation orientation);
    void setHorizontallyMirrorFrontFacingCamera(bool mirror);
    void setHorizontallyMirrorRearFacingCamera(bool mirror);
    // Works out the rotation for the orientation and camera and tells every target.
    void updateOrientationSendToTargets();

    // Milliseconds a frame took on average, from the sixth counted frame on; 0 before it.
    float averageFrameDurationDuringCapture() const;
    bool runBenchmark() const { return m_runBenchmark.load(); }
    void setRunBenchmark(bool run) { m_runBenchmark.store(run); }

    const std::shared_ptr<media::CaptureSession>& captureSession() const { return m_captureSession; }
    std::shared_ptr<media::CaptureDevice> inputCamera() const;
    // Not owned.
    void setDelegate(PixVideoCameraDelegate* delegate) { m_delegate.store(delegate); }

    void addTarget(const std::shared_ptr<PixInput>& newTarget, int textureLocation) override;
    using PixOutput::addTarget;
    // Adds the microphone for a writer, and takes it away again with a null one.
    void setAudioEncodingTarget(std::shared_ptr<PixAudioEncodingTarget> newValue) override;
    bool addAudioInputsAndOutputs();
    bool removeAudioInputsAndOutputs();
    virtual void removeInputsAndOutputs();

    // Where the session's samples come in, on the outputs' queues.
    void captureOutput(const std::shared_ptr<media::SampleBuffer>& sampleBuffer, media::CaptureOutput& output);

protected:
    // Leaves the session in a configuration that addVideoOutput() commits.
    PixVideoCamera(const std::string& sessionPreset, std::shared_ptr<media::CaptureDevice> camera);
    // False, logged, when the session cannot take the frames' output.
    bool addVideoOutput();
    static std::shared_ptr<media::CaptureDevice> cameraAt(media::CaptureDevicePosition position);

    // On the processing queue.
    void processVideoSampleBuffer(const media::SampleBuffer& sampleBuffer);
    void processAudioSampleBuffer(const std::shared_ptr<media::SampleBuffer>& sampleBuffer);

    std::shared_ptr<media::CaptureSession> m_captureSession;
    std::shared_ptr<media::CaptureDataOutput> m_videoOutput;
    core::Semaphore m_frameRenderingSemaphore{1};
    std::atomic<bool> m_captureAsYUV{true};
    // While set, live frames are dropped even when the pipeline is free: a photo is on its way in.
    std::atomic<bool> m_holdingLiveFrames{false};

private:
    // Hands the outputs' samples to captureOutput while the camera lives.
    std::function<void(const std::shared_ptr<media::SampleBuffer>&, media::CaptureOutput&)> sampleBufferDelegate();
    // On the processing queue.
    void updateTargetsForVideoCamera(int bufferWidth, int bufferHeight, PixFrameTime currentTime, bool planar);

    std::shared_ptr<core::DispatchQueue> m_cameraProcessingQueue;
    std::shared_ptr<core::DispatchQueue> m_audioProcessingQueue;

    mutable std::mutex m_mutex; // guards the four below
    std::shared_ptr<media::CaptureDevice> m_inputCamera;
    std::shared_ptr<media::CaptureDeviceInput> m_videoInput;
    std::shared_ptr<media::CaptureDeviceInput> m_audioInput;
    std::shared_ptr<media::CaptureDataOutput> m_audioOutput;
    std::atomic<bool> m_addedAudioInputsDueToEncodingTarget{false};

    // On the processing queue only.
    std::unique_ptr<PixYUVConversion> m_yuvConversion;
    int m_imageBufferWidth = 0;
    int m_imageBufferHeight = 0;
    PixInputRotation m_outputRotation = PixInputRotationNone;
    unsigned m_numberOfFramesCaptured = 0;
    float m_totalFrameTimeDuringCapture = 0;

    std::atomic<bool> m_capturePaused{false};
    std::atomic<bool> m_runBenchmark{false};
    std::atomic<int> m_frameRate{0};
    std::atomic<InterfaceOrientation> m_outputImageOrientation{InterfaceOrientationUnknown};
    std::atomic<bool> m_horizontallyMirrorFrontFacingCamera{false};
    std::atomic<bool> m_horizontallyMirrorRearFacingCamera{false};
    std::atomic<PixVideoCameraDelegate*> m_delegate{nullptr};
};

} // namespace zm
