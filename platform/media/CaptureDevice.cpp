#include "platform/media/CaptureDevice.h"

#include "platform/media/Asset.h"
#include "platform/media/CaptureSource.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <sstream>

namespace media {

namespace {

std::mutex movieFilesMutex;
std::vector<std::filesystem::path> movieFiles; // guarded by movieFilesMutex; empty: read the environment

std::vector<std::filesystem::path> movieCameraFiles() {
    {
        const std::lock_guard lock(movieFilesMutex);
        if (!movieFiles.empty())
            return movieFiles;
    }
    std::vector<std::filesystem::path> files;
    if (const char* named = std::getenv("ZEMBRIX_CAMERA_MOVIE")) {
        std::istringstream list(named);
        for (std::string file; std::getline(list, file, ':');) {
            if (!file.empty() && files.size() < 2)
                files.emplace_back(file);
        }
    }
    return files;
}

// /dev/video0, /dev/video1, ... that exist, in number order.
std::vector<std::filesystem::path> linuxCameras() {
    std::vector<std::pair<int, std::filesystem::path>> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("video", 0) == 0 && name.size() > 5 &&
            std::all_of(name.begin() + 5, name.end(), [](char c) { return c >= '0' && c <= '9'; }))
            found.emplace_back(std::stoi(name.substr(5)), entry.path());
    }
    std::sort(found.begin(), found.end());
    std::vector<std::filesystem::path> paths;
    for (const auto& [number, path] : found)
        paths.push_back(path);
    return paths;
}

CaptureDevicePosition positionOf(std::size_t index) {
    return index == 0 ? CaptureDevicePosition::Back : index == 1 ? CaptureDevicePosition::Front
                                                                  : CaptureDevicePosition::Unspecified;
}

} // namespace

CaptureDevice::CaptureDevice(Kind kind, MediaType mediaType, CaptureDevicePosition position, std::filesystem::path path,
                             std::string localizedName)
    : m_kind(kind)
    , m_mediaType(mediaType)
    , m_position(position)
    , m_path(std::move(path))
    , m_uniqueID(std::to_string(static_cast<int>(kind)) + ":" + m_path.string())
    , m_localizedName(std::move(localizedName)) {}

void CaptureDevice::setMovieCameraFiles(std::vector<std::filesystem::path> files) {
    const std::lock_guard lock(movieFilesMutex);
    movieFiles = std::move(files);
}

std::vector<std::shared_ptr<CaptureDevice>> CaptureDevice::devices(MediaType mediaType) {
    std::vector<std::shared_ptr<CaptureDevice>> found;
    const auto movies = movieCameraFiles();
    if (mediaType == MediaType::Video) {
        const auto paths = movies.empty() ? linuxCameras() : movies;
        for (std::size_t index = 0; index < paths.size(); ++index) {
            const Kind kind = movies.empty() ? Kind::LinuxCamera : Kind::MovieCamera;
            found.push_back(std::shared_ptr<CaptureDevice>(new CaptureDevice(
                kind, MediaType::Video, positionOf(index), paths[index],
                (kind == Kind::MovieCamera ? "Movie camera " : "Camera ") + paths[index].filename().string())));
        }
    } else if (!movies.empty()) {
        found.push_back(std::shared_ptr<CaptureDevice>(new CaptureDevice(
            Kind::MovieMicrophone, MediaType::Audio, CaptureDevicePosition::Unspecified, movies.front(),
            "Sound of " + movies.front().filename().string())));
    } else {
        found.push_back(std::shared_ptr<CaptureDevice>(
            new CaptureDevice(Kind::Microphone, MediaType::Audio, CaptureDevicePosition::Unspecified, {}, "Microphone")));
    }
    return found;
}

std::shared_ptr<CaptureDevice> CaptureDevice::defaultDevice(MediaType mediaType) {
    const auto all = devices(mediaType);
    return all.empty() ? nullptr : all.front();
}

std::unique_ptr<CaptureSource> CaptureDevice::makeSource() const {
    switch (m_kind) {
    case Kind::MovieCamera:
        return CaptureSource::makeMovieCamera(m_path, MediaType::Video);
    case Kind::MovieMicrophone:
        return CaptureSource::makeMovieCamera(m_path, MediaType::Audio);
    case Kind::LinuxCamera:
        return CaptureSource::makeLinuxCamera(m_path);
    case Kind::Microphone:
        return CaptureSource::makeMicrophone();
    }
    return nullptr;
}

} // namespace media
