#include "framework/Source/PixVideoCamera.h"

#include "framework/Source/PixContext.h"
#include "framework/Source/PixMovieWriter.h"
#include "framework/Source/PixYUVConversion.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/Log.h"
#include "platform/media/CaptureOutput.h"
#include "platform/media/CaptureSession.h"
#include "platform/media/PixelBuffer.h"
#include "platform/media/SampleBuffer.h"

#include <chrono>

namespace zm {

namespace {

// The rotation of the picture for each orientation: rear, rear mirrored, front, front mirrored.
PixInputRotation rotationFor(InterfaceOrientation orientation, bool rear, bool mirrored, PixInputRotation current) {
    constexpr PixInputRotation table[4][4] = {
        {PixInputRotationRotateRight, PixInputRotationRotateRightFlipVertical, PixInputRotationRotateRight,
         PixInputRotationRotateRightFlipVertical},
        {PixInputRotationRotateLeft, PixInputRotationRotate180, PixInputRotationRotateLeft,
         PixInputRotationRotateRightFlipHorizontal},
        {PixInputRotationNone, PixInputRotationFlipVertical, PixInputRotationRotate180, PixInputRotationFlipVertical},
        {PixInputRotationRotate180, PixInputRotationFlipHorizontal, PixInputRotationNone, PixInputRotationFlipHorizontal},
    };
    if (orientation < InterfaceOrientationPortrait || orientation > InterfaceOrientationLandscapeLeft)
        return current;
    return table[orientation - 1][(rear ? 0 : 2) + (mirrored ? 1 : 0)];
}

} // namespace

std::shared_ptr<media::CaptureDevice> PixVideoCamera::cameraAt(media::CaptureDevicePosition position) {
    std::shared_ptr<media::CaptureDevice> found;
    for (const auto& device : media::CaptureDevice::devices(media::MediaType::Video)) {
        if (device->position() == position)
            found = device;
    }
    return found;
}

std::shared_ptr<PixVideoCamera> PixVideoCamera::create() {
    return create(media::CaptureSessionPreset640x480, media::CaptureDevicePosition::Back);
}

std::shared_ptr<PixVideoCamera> PixVideoCamera::create(const std::string& sessionPreset,
                                                       media::CaptureDevicePosition cameraPosition) {
    auto camera = cameraAt(cameraPosition);
    if (!camera)
        return nullptr;
    std::shared_ptr<PixVideoCamera> made(new PixVideoCamera(sessionPreset, std::move(camera)));
    return made->addVideoOutput() ? made : nullptr;
}

bool PixVideoCamera::addVideoOutput() {
    m_videoOutput->setSampleBufferDelegate(sampleBufferDelegate(), m_cameraProcessingQueue);
    const bool added = m_captureSession->canAddOutput(*m_videoOutput);
    if (added)
        m_captureSession->addOutput(m_videoOutput);
    else
        core::log(core::LogLevel::Error, "Couldn't add video output");
    m_captureSession->commitConfiguration();
    return added;
}

PixVideoCamera::PixVideoCamera(const std::string& sessionPreset, std::shared_ptr<media::CaptureDevice> camera)
    : m_captureSession(media::CaptureSession::create())
    , m_videoOutput(media::CaptureDataOutput::createVideoOutput())
    , m_cameraProcessingQueue(core::DispatchQueue::global())
    , m_audioProcessingQueue(core::DispatchQueue::global())
    , m_inputCamera(std::move(camera)) {
    runSynchronouslyOnContextQueue([&] { m_yuvConversion = std::make_unique<PixYUVConversion>(); });
    m_captureSession->beginConfiguration();
    if (auto input = media::CaptureDeviceInput::create(m_inputCamera); input && m_captureSession->canAddInput(**input)) {
        m_videoInput = *input;
        m_captureSession->addInput(m_videoInput);
    }
    m_videoOutput->setAlwaysDiscardsLateVideoFrames(false);
    m_videoOutput->setVideoPixelFormat(media::PixelFormat::BiPlanar420FullRange);
    m_captureSession->setSessionPreset(sessionPreset);
}

PixVideoCamera::~PixVideoCamera() {
    stopCameraCapture();
    m_videoOutput->setSampleBufferDelegate(nullptr, nullptr);
    if (const auto audio = m_audioOutput)
        audio->setSampleBufferDelegate(nullptr, nullptr);
    removeInputsAndOutputs();
    runSynchronouslyOnContextQueue([&] { m_yuvConversion.reset(); });
}

void PixVideoCamera::startCameraCapture() {
    if (!m_captureSession->isRunning())
        m_captureSession->startRunning();
}

void PixVideoCamera::stopCameraCapture() {
    if (m_captureSession->isRunning())
        m_captureSession->stopRunning();
}

std::shared_ptr<media::CaptureDevice> PixVideoCamera::inputCamera() const {
    const std::lock_guard lock(m_mutex);
    return m_inputCamera;
}

media::CaptureDevicePosition PixVideoCamera::cameraPosition() const {
    const std::lock_guard lock(m_mutex);
    return m_videoInput ? m_videoInput->device()->position() : media::CaptureDevicePosition::Unspecified;
}

bool PixVideoCamera::isFrontFacingCameraPresent() {
    return cameraAt(media::CaptureDevicePosition::Front) != nullptr;
}

bool PixVideoCamera::isBackFacingCameraPresent() {
    return cameraAt(media::CaptureDevicePosition::Back) != nullptr;
}

void PixVideoCamera::rotateCamera() {
    if (!isFrontFacingCameraPresent())
        return;
    const media::CaptureDevicePosition wanted = cameraPosition() == media::CaptureDevicePosition::Back
                                                    ? media::CaptureDevicePosition::Front
                                                    : media::CaptureDevicePosition::Back;
    const auto device = cameraAt(wanted);
    auto input = media::CaptureDeviceInput::create(device);
    if (!input) {
        core::log(core::LogLevel::Error, "Cannot switch cameras: " + input.error().description);
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_captureSession->beginConfiguration();
        m_captureSession->removeInput(m_videoInput);
        if (m_captureSession->canAddInput(**input)) {
            m_captureSession->addInput(*input);
            m_videoInput = *input;
            // Only a camera the session took is the one in use.
            m_inputCamera = device;
        } else {
            m_captureSession->addInput(m_videoInput);
        }
        m_captureSession->commitConfiguration();
    }
    setOutputImageOrientation(outputImageOrientation());
}

std::string PixVideoCamera::captureSessionPreset() const {
    return m_captureSession->sessionPreset();
}

void PixVideoCamera::setCaptureSessionPreset(const std::string& preset) {
    m_captureSession->beginConfiguration();
    m_captureSession->setSessionPreset(preset);
    m_captureSession->commitConfiguration();
}

// Orientation

void PixVideoCamera::setOutputImageOrientation(InterfaceOrientation orientation) {
    m_outputImageOrientation.store(orientation);
    updateOrientationSendToTargets();
}

void PixVideoCamera::setHorizontallyMirrorFrontFacingCamera(bool mirror) {
    m_horizontallyMirrorFrontFacingCamera.store(mirror);
    updateOrientationSendToTargets();
}

void PixVideoCamera::setHorizontallyMirrorRearFacingCamera(bool mirror) {
    m_horizontallyMirrorRearFacingCamera.store(mirror);
    updateOrientationSendToTargets();
}

void PixVideoCamera::updateOrientationSendToTargets() {
    const bool rear = cameraPosition() == media::CaptureDevicePosition::Back;
    const bool mirrored = rear ? m_horizontallyMirrorRearFacingCamera.load() : m_horizontallyMirrorFrontFacingCamera.load();
    runSynchronouslyOnContextQueue([&] {
        m_outputRotation = rotationFor(outputImageOrientation(), rear, mirrored, m_outputRotation);
        for (std::size_t position = 0; position < m_targets.size(); ++position)
            m_targets[position]->setInputRotation(m_outputRotation, textureIndexOfTarget(position));
    });
}

void PixVideoCamera::addTarget(const std::shared_ptr<PixInput>& newTarget, int textureLocation) {
    PixOutput::addTarget(newTarget, textureLocation);
    if (newTarget)
        runSynchronouslyOnContextQueue([&] { newTarget->setInputRotation(m_outputRotation, textureLocation); });
}

// Sound

void PixVideoCamera::setAudioEncodingTarget(std::shared_ptr<PixAudioEncodingTarget> newValue) {
    if (newValue) {
        if (addAudioInputsAndOutputs())
            m_addedAudioInputsDueToEncodingTarget.store(true);
    } else if (m_addedAudioInputsDueToEncodingTarget.exchange(false)) {
        removeAudioInputsAndOutputs();
    }
    PixOutput::setAudioEncodingTarget(std::move(newValue));
}

bool PixVideoCamera::addAudioInputsAndOutputs() {
    const std::lock_guard lock(m_mutex);
    if (m_audioOutput)
        return false;
    m_captureSession->beginConfiguration();
    if (auto input = media::CaptureDeviceInput::create(media::CaptureDevice::defaultDevice(media::MediaType::Audio));
        input && m_captureSession->canAddInput(**input)) {
        m_audioInput = *input;
        m_captureSession->addInput(m_audioInput);
    }
    m_audioOutput = media::CaptureDataOutput::createAudioOutput();
    if (m_captureSession->canAddOutput(*m_audioOutput))
        m_captureSession->addOutput(m_audioOutput);
    else
        core::log(core::LogLevel::Error, "Couldn't add audio output");
    m_audioOutput->setSampleBufferDelegate(sampleBufferDelegate(), m_audioProcessingQueue);
    m_captureSession->commitConfiguration();
    return true;
}

bool PixVideoCamera::removeAudioInputsAndOutputs() {
    const std::lock_guard lock(m_mutex);
    if (!m_audioOutput)
        return false;
    m_captureSession->beginConfiguration();
    m_captureSession->removeInput(m_audioInput);
    m_captureSession->removeOutput(m_audioOutput);
    m_audioOutput->setSampleBufferDelegate(nullptr, nullptr);
    m_audioInput.reset();
    m_audioOutput.reset();
    m_captureSession->commitConfiguration();
    return true;
}

void PixVideoCamera::removeInputsAndOutputs() {
    const std::lock_guard lock(m_mutex);
    m_captureSession->beginConfiguration();
    if (m_videoInput) {
        m_captureSession->removeInput(m_videoInput);
        m_captureSession->removeOutput(m_videoOutput);
        m_videoInput.reset();
    }
    if (m_audioOutput) {
        m_captureSession->removeInput(m_audioInput);
        m_captureSession->removeOutput(m_audioOutput);
        m_audioInput.reset();
        m_audioOutput.reset();
    }
    m_captureSession->commitConfiguration();
}

// Frames

media::CaptureOutput::SampleBufferDelegate PixVideoCamera::sampleBufferDelegate() {
    // Deliveries still queued when the camera goes find it gone.
    return [weak = std::weak_ptr(std::static_pointer_cast<PixVideoCamera>(shared_from_this()))](
               const std::shared_ptr<media::SampleBuffer>& sample, media::CaptureOutput& output) {
        if (const auto camera = weak.lock())
            camera->captureOutput(sample, output);
    };
}

void PixVideoCamera::captureOutput(const std::shared_ptr<media::SampleBuffer>& sampleBuffer, media::CaptureOutput& output) {
    if (!m_captureSession->isRunning() || !sampleBuffer)
        return;
    if (output.mediaType() == media::MediaType::Audio) {
        processAudioSampleBuffer(sampleBuffer);
        return;
    }
    if (&output == m_videoOutput.get() && m_holdingLiveFrames.load())
        return;
    // One frame in the pipeline at most: a frame that finds it busy is dropped, never queued.
    if (!m_frameRenderingSemaphore.tryWait())
        return;
    auto self = std::static_pointer_cast<PixVideoCamera>(shared_from_this());
    runAsynchronouslyOnContextQueue([self, sampleBuffer] {
        if (PixVideoCameraDelegate* delegate = self->m_delegate.load())
            delegate->willOutputSampleBuffer(sampleBuffer);
        self->processVideoSampleBuffer(*sampleBuffer);
        self->m_frameRenderingSemaphore.signal();
    });
}

void PixVideoCamera::processAudioSampleBuffer(const std::shared_ptr<media::SampleBuffer>& sampleBuffer) {
    if (const auto target = audioEncodingTarget())
        target->processAudioBuffer(sampleBuffer);
}

void PixVideoCamera::processVideoSampleBuffer(const media::SampleBuffer& sampleBuffer) {
    if (m_capturePaused.load() || !sampleBuffer.imageBuffer() || !PixContext::useImageProcessingContext())
        return;
    const auto start = std::chrono::steady_clock::now();
    const media::PixelBuffer& picture = *sampleBuffer.imageBuffer();
    const int width = picture.width();
    const int height = picture.height();
    if (picture.isPlanar()) {
        if (width != m_imageBufferWidth || height != m_imageBufferHeight) {
            m_imageBufferWidth = width;
            m_imageBufferHeight = height;
            initializeOutputTextureIfNeeded();
            m_yuvConversion->setOutputTexture(m_outputTexture, width, height);
            notifyTargetsAboutNewOutputTexture();
        }
        m_yuvConversion->uploadPlanes(picture);
        if (!m_allTargetsWantMonochromeData)
            m_yuvConversion->convertYUVToRGBOutput();
    } else {
        initializeOutputTextureIfNeeded();
        PixYUVConversion::uploadBGRA(picture, m_outputTexture);
    }
    updateTargetsForVideoCamera(width, height, sampleBuffer.presentationTime(), picture.isPlanar());

    if (runBenchmark()) {
        const float seconds = std::chrono::duration<float>(std::chrono::steady_clock::now() - start).count();
        if (++m_numberOfFramesCaptured > 5) {
            m_totalFrameTimeDuringCapture += seconds;
            core::logf(core::LogLevel::Info, "Average frame time : %f ms", averageFrameDurationDuringCapture());
            core::logf(core::LogLevel::Info, "Current frame time : %f ms", seconds * 1000);
        }
    }
}

void PixVideoCamera::updateTargetsForVideoCamera(int bufferWidth, int bufferHeight, PixFrameTime currentTime, bool planar) {
    for (std::size_t position = 0; position < m_targets.size(); ++position) {
        PixInput& target = *m_targets[position];
        if (!target.enabled())
            continue;
        const int textureIndex = textureIndexOfTarget(position);
        target.setInputRotation(m_outputRotation, textureIndex);
        if (&target == targetToIgnoreForUpdates()) {
            target.setInputTexture(m_outputTexture, textureIndex);
            continue;
        }
        target.setInputSize({static_cast<float>(bufferWidth), static_cast<float>(bufferHeight)}, textureIndex);
        const bool monochrome = planar && target.wantsMonochromeInput();
        target.setCurrentlyReceivingMonochromeInput(monochrome);
        target.setInputTexture(monochrome ? m_yuvConversion->luminanceTexture() : m_outputTexture, textureIndex);
        target.newFrameReadyAtTime(currentTime, textureIndex);
    }
}

float PixVideoCamera::averageFrameDurationDuringCapture() const {
    float average = 0;
    runSynchronouslyOnContextQueue([&] {
        // The first five frames are not counted: until a sixth has been, there is nothing to average.
        if (m_numberOfFramesCaptured > 5)
            average = m_totalFrameTimeDuringCapture / static_cast<float>(m_numberOfFramesCaptured - 5) * 1000;
    });
    return average;
}

} // namespace zm
