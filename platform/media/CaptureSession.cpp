#include "platform/media/CaptureSession.h"

#include "platform/core/Log.h"
#include "platform/media/Asset.h"
#include "platform/media/CaptureOutput.h"
#include "platform/media/CaptureSource.h"
#include "platform/media/MediaError.h"

#include <algorithm>

namespace media {

const char* const CaptureSessionPresetPhoto = "Photo";
const char* const CaptureSessionPresetHigh = "High";
const char* const CaptureSessionPreset640x480 = "640x480";
const char* const CaptureSessionPreset1280x720 = "1280x720";

namespace {

std::pair<int, int> sizeOfPreset(const std::string& preset) {
    if (preset == CaptureSessionPreset640x480)
        return {640, 480};
    if (preset == CaptureSessionPreset1280x720)
        return {1280, 720};
    return {0, 0};
}

} // namespace

core::Result<std::shared_ptr<CaptureDeviceInput>> CaptureDeviceInput::create(std::shared_ptr<CaptureDevice> device) {
    if (!device)
        return mediaError(MediaErrorNoSuchDevice, "No device");
    if (device->kind() == CaptureDevice::Kind::MovieCamera || device->kind() == CaptureDevice::Kind::MovieMicrophone) {
        const auto asset = Asset::open(device->path());
        if (!asset)
            return asset.error();
        if ((*asset)->tracksWithMediaType(device->mediaType()).empty())
            return mediaError(MediaErrorNoSuchDevice, device->path().string() + " cannot stand in for a " +
                                                          (device->mediaType() == MediaType::Video ? "camera" : "microphone"));
    }
    return std::shared_ptr<CaptureDeviceInput>(new CaptureDeviceInput(std::move(device)));
}

std::shared_ptr<CaptureSession> CaptureSession::create() {
    return std::shared_ptr<CaptureSession>(new CaptureSession);
}

CaptureSession::~CaptureSession() {
    stopRunning();
}

std::string CaptureSession::sessionPreset() const {
    const std::lock_guard lock(m_mutex);
    return m_preset;
}

void CaptureSession::setSessionPreset(const std::string& preset) {
    const std::lock_guard lock(m_mutex);
    if (preset != CaptureSessionPresetPhoto && preset != CaptureSessionPresetHigh &&
        preset != CaptureSessionPreset640x480 && preset != CaptureSessionPreset1280x720)
        return;
    if (preset != m_preset) {
        m_preset = preset;
        // A camera running at another size starts over at the new one.
        for (Running& running : m_sources) {
            if (running.device->kind() == CaptureDevice::Kind::LinuxCamera)
                running.source.reset();
        }
        m_sources.erase(std::remove_if(m_sources.begin(), m_sources.end(), [](const Running& running) { return !running.source; }),
                        m_sources.end());
        applyLocked();
    }
}

void CaptureSession::beginConfiguration() {
    const std::lock_guard lock(m_mutex);
    ++m_configurationDepth;
}

void CaptureSession::commitConfiguration() {
    const std::lock_guard lock(m_mutex);
    if (m_configurationDepth > 0 && --m_configurationDepth == 0)
        applyLocked();
}

bool CaptureSession::canAddInput(const CaptureDeviceInput& input) const {
    const std::lock_guard lock(m_mutex);
    return std::none_of(m_inputs.begin(), m_inputs.end(), [&](const auto& present) {
        return present.get() == &input || present->device()->mediaType() == input.device()->mediaType();
    });
}

void CaptureSession::addInput(const std::shared_ptr<CaptureDeviceInput>& input) {
    if (!input || !canAddInput(*input))
        return;
    const std::lock_guard lock(m_mutex);
    m_inputs.push_back(input);
    applyLocked();
}

void CaptureSession::removeInput(const std::shared_ptr<CaptureDeviceInput>& input) {
    const std::lock_guard lock(m_mutex);
    m_inputs.erase(std::remove(m_inputs.begin(), m_inputs.end(), input), m_inputs.end());
    applyLocked();
}

std::vector<std::shared_ptr<CaptureDeviceInput>> CaptureSession::inputs() const {
    const std::lock_guard lock(m_mutex);
    return m_inputs;
}

bool CaptureSession::canAddOutput(const CaptureOutput& output) const {
    {
        const std::lock_guard lock(output.m_mutex);
        if (!output.m_session.expired())
            return false;
    }
    const std::lock_guard lock(m_outputsMutex);
    return std::none_of(m_outputs.begin(), m_outputs.end(), [&](const auto& present) { return present.get() == &output; });
}

void CaptureSession::addOutput(const std::shared_ptr<CaptureOutput>& output) {
    if (!output || !canAddOutput(*output))
        return;
    {
        const std::lock_guard lock(output->m_mutex);
        output->m_session = weak_from_this();
    }
    const std::lock_guard lock(m_outputsMutex);
    m_outputs.push_back(output);
}

void CaptureSession::removeOutput(const std::shared_ptr<CaptureOutput>& output) {
    if (!output)
        return;
    {
        const std::lock_guard lock(m_outputsMutex);
        const auto found = std::find(m_outputs.begin(), m_outputs.end(), output);
        if (found == m_outputs.end())
            return;
        m_outputs.erase(found);
    }
    const std::lock_guard lock(output->m_mutex);
    output->m_session.reset();
}

std::vector<std::shared_ptr<CaptureOutput>> CaptureSession::outputs() const {
    const std::lock_guard lock(m_outputsMutex);
    return m_outputs;
}

void CaptureSession::startRunning() {
    const std::lock_guard lock(m_mutex);
    m_running = true;
    applyLocked();
}

void CaptureSession::stopRunning() {
    const std::lock_guard lock(m_mutex);
    m_running = false;
    applyLocked();
}

bool CaptureSession::isRunning() const {
    const std::lock_guard lock(m_mutex);
    return m_running;
}

std::shared_ptr<SampleBuffer> CaptureSession::latestPicture() const {
    const std::lock_guard lock(m_mutex);
    for (const Running& running : m_sources) {
        if (running.device->mediaType() == MediaType::Video)
            return running.source->latestPicture();
    }
    return nullptr;
}

void CaptureSession::applyLocked() {
    if (m_configurationDepth > 0)
        return;
    // Stop what no longer belongs.
    m_sources.erase(std::remove_if(m_sources.begin(), m_sources.end(),
                                   [&](const Running& running) {
                                       return !m_running || std::none_of(m_inputs.begin(), m_inputs.end(), [&](const auto& input) {
                                           return *input->device() == *running.device;
                                       });
                                   }),
                    m_sources.end());
    if (!m_running)
        return;
    const auto [width, height] = sizeOfPreset(m_preset);
    for (const auto& input : m_inputs) {
        const auto& device = input->device();
        if (std::any_of(m_sources.begin(), m_sources.end(), [&](const Running& running) { return *running.device == *device; }))
            continue;
        std::unique_ptr<CaptureSource> source = device->makeSource();
        const MediaType mediaType = device->mediaType();
        // The session stops every device before it goes, so a device may hold it plainly.
        const core::Status started = source->start(
            [this, mediaType](const std::shared_ptr<SampleBuffer>& sample) { deliver(mediaType, sample); }, width, height);
        if (!started) {
            core::log(core::LogLevel::Error, "Cannot start " + device->localizedName() + ": " + started.error().description);
            continue;
        }
        m_sources.push_back({device, std::move(source)});
    }
}

void CaptureSession::deliver(MediaType mediaType, const std::shared_ptr<SampleBuffer>& sample) {
    std::vector<std::shared_ptr<CaptureOutput>> outputs;
    {
        const std::lock_guard lock(m_outputsMutex);
        outputs = m_outputs;
    }
    for (const auto& output : outputs) {
        if (output->mediaType() == mediaType)
            output->deliver(sample);
    }
}

} // namespace media
