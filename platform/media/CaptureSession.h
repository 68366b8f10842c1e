#pragma once

#include "platform/core/Result.h"
#include "platform/media/CaptureDevice.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace media {

class CaptureOutput;
class CaptureSource;

// A capture device as the input of a session.
class CaptureDeviceInput {
public:
    // An error for a device that cannot deliver: a movie camera whose file is missing or has no
    // pictures (or no sound, for its microphone).
    static core::Result<std::shared_ptr<CaptureDeviceInput>> create(std::shared_ptr<CaptureDevice> device);

    const std::shared_ptr<CaptureDevice>& device() const { return m_device; }

private:
    explicit CaptureDeviceInput(std::shared_ptr<CaptureDevice> device)
        : m_device(std::move(device)) {}

    const std::shared_ptr<CaptureDevice> m_device;
};

// The preset names a session takes: the size a Linux camera is asked for (movie cameras play their
// movie's own size).
extern const char* const CaptureSessionPresetPhoto;
extern const char* const CaptureSessionPresetHigh;
extern const char* const CaptureSessionPreset640x480;
extern const char* const CaptureSessionPreset1280x720;

// Runs devices into outputs: at most one camera and one microphone, any number of outputs. Changes made
// between beginConfiguration and commitConfiguration take effect together at the commit.
//
// Thread safety: every operation may be called from any thread.
class CaptureSession : public std::enable_shared_from_this<CaptureSession> {
public:
    static std::shared_ptr<CaptureSession> create();
    ~CaptureSession();
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    std::string sessionPreset() const;
    // Unknown names are ignored.
    void setSessionPreset(const std::string& preset);

    void beginConfiguration();
    void commitConfiguration();

    // One input a media type.
    bool canAddInput(const CaptureDeviceInput& input) const;
    void addInput(const std::shared_ptr<CaptureDeviceInput>& input);
    void removeInput(const std::shared_ptr<CaptureDeviceInput>& input);
    std::vector<std::shared_ptr<CaptureDeviceInput>> inputs() const;

    bool canAddOutput(const CaptureOutput& output) const;
    void addOutput(const std::shared_ptr<CaptureOutput>& output);
    void removeOutput(const std::shared_ptr<CaptureOutput>& output);
    std::vector<std::shared_ptr<CaptureOutput>> outputs() const;

    // Devices that cannot start are logged; the session runs without them.
    void startRunning();
    void stopRunning();
    bool isRunning() const;

    // The camera's latest picture at its full size; nullptr before the first or while stopped.
    std::shared_ptr<SampleBuffer> latestPicture() const;

private:
    CaptureSession() = default;

    // With m_mutex held: starts or stops each device to match the inputs and the running state.
    void applyLocked();
    void deliver(MediaType mediaType, const std::shared_ptr<SampleBuffer>& sample);

    // Devices deliver under this lock alone, so that stopping a device (which waits for its thread)
    // may hold the other.
    mutable std::mutex m_outputsMutex;
    std::vector<std::shared_ptr<CaptureOutput>> m_outputs; // guarded by m_outputsMutex

    mutable std::mutex m_mutex; // guards everything below
    std::string m_preset = CaptureSessionPresetHigh;
    std::vector<std::shared_ptr<CaptureDeviceInput>> m_inputs;
    bool m_running = false;
    int m_configurationDepth = 0;
    struct Running {
        std::shared_ptr<CaptureDevice> device;
        std::unique_ptr<CaptureSource> source;
    };
    std::vector<Running> m_sources;
};

} // namespace media
