#include "crashlog/record/CLGRecordReader.h"

#include <cstddef>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

// Any bytes as a crash record: the reader must end without faulting, however cut or corrupt.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int fd = memfd_create("record", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    if (write(fd, data, size) == static_cast<ssize_t>(size)) {
        const auto path = "/proc/self/fd/" + std::to_string(fd);
        zm::CLGRecordIsValid(zm::CLGRecordParse(path));
    }
    close(fd);
    return 0;
}
