#pragma once

#include "crashlog/record/CLGRecordWriter.h"

#include <functional>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace zm::testing {

// What `write` puts into a record, as text.
inline std::string written(const std::function<void(CLGRecordWriter&)>& write) {
    const int fd = memfd_create("record", MFD_CLOEXEC);
    CLGRecordWriter writer(fd);
    write(writer);
    std::string bytes(static_cast<size_t>(lseek(fd, 0, SEEK_CUR)), '\0');
    if (pread(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
        bytes.clear();
    close(fd);
    return bytes;
}

} // namespace zm::testing
