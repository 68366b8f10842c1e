#include "problemsets/documents/QVDocument.h"

namespace zm {

std::string QVDocument::displayNameFromURL(const std::filesystem::path& url) {
    return url.stem().string();
}

std::string QVDocument::displayName() const {
    if (std::optional<std::string> name = localizedName())
        return *name;
    return displayNameFromURL(fileURL());
}

} // namespace zm
