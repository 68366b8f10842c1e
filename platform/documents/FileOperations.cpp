#include "platform/documents/FileOperations.h"

#include "platform/core/Digest.h"
#include "platform/core/Files.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace documents {

namespace {

core::Error systemError(int code, const std::string& what, const std::filesystem::path& path) {
    if (code == EEXIST)
        return documentsError(kDocumentsErrorFileExists, what + " " + path.string() + ": it exists already");
    return core::Error{std::string(core::kFileErrorDomain),
                       code,
                       what + " " + path.string() + ": " + std::strerror(code),
                       {{"path", path.string()}}};
}

FileStamp stampFrom(const struct stat& status) {
    return {std::uint64_t(status.st_dev), std::uint64_t(status.st_ino), std::int64_t(status.st_size),
            std::int64_t(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

core::Status syncFolderOf(const std::filesystem::path& path) {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return systemError(errno, "cannot open the folder of", path);
    const int result = ::fsync(fd);
    const int code = errno;
    ::close(fd);
    if (result != 0)
        return systemError(code, "cannot flush the folder of", path);
    return {};
}

} // namespace

core::Error documentsError(DocumentsErrorCode code, std::string description) {
    return core::Error{std::string(kDocumentsErrorDomain), code, std::move(description), {}};
}

core::Result<FileStamp> stampOf(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return systemError(errno, "cannot look at", path);
    return stampFrom(status);
}

core::Result<StampedContents> readFileWithStamp(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return systemError(errno, "cannot open", path);
    struct stat status {};
    StampedContents contents;
    int code = 0;
    if (::fstat(fd, &status) != 0) {
        code = errno;
    } else {
        char buffer[65536];
        for (;;) {
            const ssize_t count = ::read(fd, buffer, sizeof buffer);
            if (count < 0 && errno == EINTR)
                continue;
            if (count < 0)
                code = errno;
            if (count <= 0)
                break;
            contents.bytes.append(buffer, size_t(count));
        }
    }
    ::close(fd);
    if (code)
        return systemError(code, "cannot read", path);
    contents.stamp = stampFrom(status);
    return contents;
}

core::Result<FileStamp> createFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    // Written whole under a name of its own first, then given its name by a link, which unlike a rename
    // fails when the name is taken.
    const std::filesystem::path draft =
        path.parent_path() / ("." + path.filename().string() + "." + core::uuidString() + ".new");
    if (const core::Status written = core::writeFileAtomically(draft, bytes); !written)
        return written.error();
    const int linked = ::link(draft.c_str(), path.c_str());
    const int code = errno;
    ::unlink(draft.c_str());
    if (linked != 0)
        return systemError(code, "cannot create", path);
    if (const core::Status synced = syncFolderOf(path); !synced)
        return synced.error();
    return stampOf(path);
}

core::Result<FileStamp> replaceFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    if (const core::Status written = core::writeFileAtomically(path, bytes); !written)
        return written.error();
    return stampOf(path);
}

core::Status moveItemWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return syncFolderOf(to);
    int code = errno;
    // A file system that cannot rename without replacing still links without replacing (files only).
    if (code == EINVAL || code == ENOSYS) {
        if (::link(from.c_str(), to.c_str()) == 0) {
            ::unlink(from.c_str());
            return syncFolderOf(to);
        }
        code = errno;
    }
    // Into a folder of another file system (a shared folder mounted from elsewhere) a file is copied,
    // and its original removed once the copy is complete.
    if (code == EXDEV) {
        core::Result<StampedContents> read = readFileWithStamp(from);
        if (!read)
            return read.error();
        if (core::Result<FileStamp> copied = createFileAtomically(to, read->bytes); !copied)
            return copied.error();
        return removeItem(from);
    }
    return systemError(code, "cannot move " + from.string() + " to", to);
}

core::Status removeItem(const std::filesystem::path& path) {
    std::error_code code;
    if (std::filesystem::remove_all(path, code) == 0 && !code)
        return systemError(ENOENT, "cannot remove", path);
    if (code)
        return systemError(code.value(), "cannot remove", path);
    return {};
}

} // namespace documents
