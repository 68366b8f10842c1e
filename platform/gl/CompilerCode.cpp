#include "platform/gl/CompilerCode.h"

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/mman.h>

namespace gl {

namespace {

// The shared library holding the driver's compiler, as its file is named ("libLLVM-15.so.1").
bool isCompilerLibrary(const std::string& path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    return name.rfind("libLLVM", 0) == 0;
}

} // namespace

void releaseShaderCompilerCode() {
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        std::istringstream fields(line);
        std::string range, permissions, offset, device, inode, path;
        fields >> range >> permissions >> offset >> device >> inode >> path;
        // Only the executable, never-written mappings: their pages are the file's own, so dropping
        // them loses nothing. The library's other mappings hold its relocated data, which must stay.
        if (permissions != "r-xp" || !isCompilerLibrary(path))
            continue;
        const std::size_t dash = range.find('-');
        const std::uintptr_t start = std::stoull(range.substr(0, dash), nullptr, 16);
        const std::uintptr_t end = std::stoull(range.substr(dash + 1), nullptr, 16);
        madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
    }
}

} // namespace gl
