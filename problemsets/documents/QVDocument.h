#pragma once

#include "platform/documents/Document.h"

#include <filesystem>
#include <string>

namespace zm {

// The game's documents: how a kind of document names its files (its extension and the prefix of a new
// file's name) and how a document's name is shown. A kind of document hides the two names with its own.
class QVDocument : public documents::Document {
public:
    static std::string filenameExtension() { return "qvs"; }
    static std::string defaultFilenamePrefix() { return "NewFile"; }

    // The file's name without its extension ("My.Set.problemlist" shows "My.Set").
    static std::string displayNameFromURL(const std::filesystem::path& url);
    // The platform's name for the document when it has one, else its file's.
    std::string displayName() const;

protected:
    using Document::Document;
};

} // namespace zm
