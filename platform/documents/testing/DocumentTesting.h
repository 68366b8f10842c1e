#pragma once

// For tests of code that reads and writes documents: waiting, without sleeping, until the file queue
// and the main loop have both run out of work, and a second program's hand on a shared folder.

#include "platform/core/MainLoop.h"
#include "platform/documents/FileQueue.h"

#include <filesystem>
#include <functional>
#include <string_view>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace documents::testing {

// Runs the main loop's work and the file queue's, the one after the other, until neither has any.
inline void settle(core::MainLoop& loop) {
    FileQueue& files = FileQueue::shared();
    do {
        files.waitUntilIdle();
        loop.runUntilIdle();
    } while (!files.isIdle());
}

// Runs `work` in a child process and waits for it to end; answers whether it ended well. The child has
// only the calling thread, so `work` keeps to plain system calls.
inline bool inAnotherProcess(const std::function<bool()>& work) {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(work() ? 0 : 1);
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// What another program does to save a file: its bytes under a temporary name, then renamed into place.
inline bool writeAsAnotherProgram(const std::filesystem::path& path, std::string_view bytes) {
    const std::string draft = path.string() + ".other";
    const int fd = ::open(draft.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    return ::close(fd) == 0 && written && ::rename(draft.c_str(), path.c_str()) == 0;
}

} // namespace documents::testing
