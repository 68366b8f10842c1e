#pragma once

// For tests of code that reads and writes documents: waiting, without sleeping, until the file queue
// and the main loop have both run out of work, and a second program's hand on a shared folder.

#include "platform/core/MainLoop.h"
#include "platform/documents/FileQueue.h"

#include <filesystem>
#include <string>
#include <string_view>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
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

// Plain system calls only: the child of a process with threads may do nothing more (another thread
// may have held the allocator's lock at the fork, and the child would wait for it forever).
inline bool writeThenRename(const char* draft, const char* path, std::string_view bytes) {
    const int fd = ::open(draft, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    return ::close(fd) == 0 && written && ::rename(draft, path) == 0;
}

// What another program does to save a file: its bytes under a temporary name, then renamed into place.
inline bool writeAsAnotherProgram(const std::filesystem::path& path, std::string_view bytes) {
    return writeThenRename((path.string() + ".other").c_str(), path.c_str(), bytes);
}

// The same done by another process, which first makes the file's folder when it is missing. Answers
// whether it all went well.
inline bool writeInAnotherProcess(const std::filesystem::path& path, std::string_view bytes) {
    const std::string folder = path.parent_path().string();
    const std::string target = path.string();
    const std::string draft = target + ".other";
    const pid_t child = ::fork();
    if (child == 0) {
        const bool folderThere = ::mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST;
        ::_exit(folderThere && writeThenRename(draft.c_str(), target.c_str(), bytes) ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace documents::testing
