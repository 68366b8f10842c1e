#pragma once

#include "platform/core/Result.h"
#include "platform/core/Thread.h"
#include "platform/core/Value.h"
#include "platform/media/MediaTime.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct AVFormatContext;

namespace media {

class AssetWriterInput;
struct WriterCore;

enum class FileType {
    QuickTimeMovie, // .mov
    MPEG4,          // .mp4
};

// Writes a movie file from the samples appended to its inputs (one a track), encoding them on a thread
// of its own with FFmpeg.
//
// Life of a writer: create (the file is made then, so a bad place is reported at once), add inputs,
// startWriting, startSessionAtSourceTime (the movie starts at that time of the samples), append through
// the inputs, then finishWriting, or cancelWriting to drop the file.
//
// Thread safety: every operation may be called from any thread. Completion handlers run on the global
// queue.
class AssetWriter {
public:
    enum class Status { Unknown, Writing, Completed, Failed, Cancelled };

    // An error when a file exists already at `outputURL` (a writer never replaces one) or the file
    // cannot be made there.
    static core::Result<std::shared_ptr<AssetWriter>> create(const std::filesystem::path& outputURL,
                                                             FileType outputFileType);
    // A writer still writing is cancelled.
    ~AssetWriter();
    AssetWriter(const AssetWriter&) = delete;
    AssetWriter& operator=(const AssetWriter&) = delete;

    const std::filesystem::path& outputURL() const { return m_outputURL; }
    FileType outputFileType() const { return m_outputFileType; }

    // Inputs are added before writing starts, each once.
    bool canAddInput(const AssetWriterInput& input) const;
    void addInput(const std::shared_ptr<AssetWriterInput>& input);
    std::vector<std::shared_ptr<AssetWriterInput>> inputs() const;

    // Names and texts written into the movie (title, artist, ...); set before writing starts.
    core::Dictionary metadata() const;
    void setMetadata(core::Dictionary metadata);

    // Opens the encoders and writes the file's header. False, with status Failed and the error, when
    // that fails; false, changing nothing, when writing has started before.
    bool startWriting();
    // Samples are written from this time of theirs on; the first call counts.
    void startSessionAtSourceTime(MediaTime startTime);
    // Finishes every input, writes what they hold and completes the file; then calls the handler.
    // A writer not writing calls it at once.
    void finishWriting(std::function<void()> completionHandler);
    // Stops writing and removes the file. Nothing happens once the file is complete.
    void cancelWriting();

    Status status() const;
    // Why the status is Failed.
    std::optional<core::Error> error() const;

    // While held, the encoder takes nothing from the inputs, which fill up and stop being ready: how a
    // test plays an encoder that falls behind. Finishing lets go of the hold.
    void setEncodingHeld(bool held);

private:
    AssetWriter(std::filesystem::path outputURL, FileType outputFileType, AVFormatContext* format);

    void encodeUntilDone();
    // Closes the file and, unless it was completed, removes it. Once.
    void closeFile(bool keep);

    const std::filesystem::path m_outputURL;
    const FileType m_outputFileType;
    std::shared_ptr<WriterCore> m_core;
    // Guarded by the core's lock. The writer owns its inputs; they share its core.
    std::vector<std::shared_ptr<AssetWriterInput>> m_inputs;
    // Touched by the caller until writing starts, then by the encoding thread alone.
    AVFormatContext* m_format;
    core::Thread m_thread;
};

} // namespace media
