#include "platform/core/TemporaryFolder.h"

#include <cassert>
#include <cstdlib>
#include <string>

namespace core {

TemporaryFolder::TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zembrix-XXXXXX").string();
    const char* made = ::mkdtemp(pattern.data());
    assert(made && "cannot create a temporary folder");
    m_path = made ? made : pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

} // namespace core
