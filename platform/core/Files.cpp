#include "platform/core/Files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace core {

namespace {

Error fileError(int code, const std::string& what, const std::filesystem::path& path) {
    return Error{std::string(kFileErrorDomain),
                 code,
                 what + " " + path.string() + ": " + std::strerror(code),
                 {{"path", path.string()}}};
}

Error fileError(const std::error_code& code, const std::string& what, const std::filesystem::path& path) {
    return Error{std::string(kFileErrorDomain),
                 code.value(),
                 what + " " + path.string() + ": " + code.message(),
                 {{"path", path.string()}}};
}

// Closes the descriptor when it goes out of scope unless it was closed on purpose.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Answers the error of close, 0 on success.
    int close() {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return 0;
}

std::filesystem::path folderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : ".";
}

// mkostemp's template replaces these six characters.
constexpr std::string_view kTemporaryMark = ".XXXXXX";

std::string temporaryPrefix(const std::filesystem::path& path) {
    return "." + path.filename().string() + ".";
}

} // namespace

void removeAbandonedTemporaries(const std::filesystem::path& path) {
    const std::string prefix = temporaryPrefix(path);
    const size_t length = prefix.size() + kTemporaryMark.size() - 1;
    std::error_code code;
    for (const auto& entry : std::filesystem::directory_iterator(folderOf(path), code)) {
        const std::string name = entry.path().filename().string();
        const bool ours = name.size() == length && name.starts_with(prefix) &&
                          std::all_of(name.begin() + std::ptrdiff_t(prefix.size()), name.end(),
                                      [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
        std::error_code ignored;
        if (ours && entry.is_regular_file(ignored))
            std::filesystem::remove(entry.path(), ignored);
    }
}

Status moveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0)
        return fileError(errno, "cannot move " + from.string() + " to", to);
    return {};
}

Result<std::filesystem::path> setAsideUnreadable(const std::filesystem::path& file) {
    // Past this many copies set aside, a further unreadable file stays where it is.
    constexpr int kMostSetAside = 100;
    Status moved;
    for (int number = 1; number <= kMostSetAside; ++number) {
        std::filesystem::path aside = file;
        aside += ".unreadable";
        if (number > 1)
            aside += "." + std::to_string(number);
        moved = moveWithoutReplacing(file, aside);
        if (moved)
            return aside;
        if (moved.error().code != EEXIST)
            break;
    }
    return moved.error();
}

Status writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path folder = folderOf(path);
    std::string temporary = (folder / (temporaryPrefix(path) + std::string(kTemporaryMark.substr(1)))).string();
    FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.valid())
        return fileError(errno, "cannot create a temporary file beside", path);

    auto abandon = [&](int code, const char* what) {
        ::unlink(temporary.c_str());
        return fileError(code, what, path);
    };
    // The new file keeps the permissions of the one it replaces; a new file is readable by all.
    struct stat existing {};
    const mode_t mode = ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
    if (::fchmod(file.get(), mode) != 0)
        return abandon(errno, "cannot set the permissions of");
    if (const int code = writeAll(file.get(), bytes))
        return abandon(code, "cannot write");
    if (::fsync(file.get()) != 0)
        return abandon(errno, "cannot flush");
    if (const int code = file.close())
        return abandon(code, "cannot close");
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        return abandon(errno, "cannot replace");

    // The rename itself lasts only once the folder's entry is on the disk.
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directory.valid() || ::fsync(directory.get()) != 0)
        return fileError(errno, "cannot flush the folder of", path);
    return {};
}

Result<std::string> readFile(const std::filesystem::path& path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid())
        return fileError(errno, "cannot open", path);
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return fileError(errno, "cannot read", path);
        }
        if (count == 0)
            break;
        content.append(buffer, static_cast<size_t>(count));
    }
    return content;
}

Status createDirectories(const std::filesystem::path& path) {
    std::error_code code;
    std::filesystem::create_directories(path, code);
    if (code)
        return fileError(code, "cannot create the folder", path);
    return {};
}

Result<std::vector<DirectoryEntry>> listDirectory(const std::filesystem::path& path) {
    std::error_code code;
    std::filesystem::directory_iterator it(path, code);
    if (code)
        return fileError(code, "cannot list", path);
    std::vector<DirectoryEntry> entries;
    for (; it != std::filesystem::directory_iterator(); it.increment(code)) {
        std::error_code typeCode;
        const std::string name = it->path().filename().string();
        entries.push_back({name, it->is_directory(typeCode), name.starts_with('.')});
    }
    if (code)
        return fileError(code, "cannot list", path);
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& x, const DirectoryEntry& y) { return x.name < y.name; });
    return entries;
}

} // namespace core
