#pragma once

#include "model/Expr.h"
#include "problemsets/documents/QVDocument.h"

#include <memory>
#include <vector>

namespace zm {

using ProblemList = std::vector<ExprPtr>;

// A problem set: the ordered problems of one file, kept in memory, edited one change at a time.
//
// The file holds one problem per line in the problem's text form, each line ended by a line feed,
// UTF-8 without a byte-order mark; an empty set is an empty file. Reading skips empty lines and reads
// every other line as an expression; a line that does not read as one becomes a single term named by
// the line and is written back as it came. Bytes that are not UTF-8 are not a problem set: reading
// them fails, so the document never writes over such a file.
//
// Problems are held by identity: finding, replacing and deleting compare the very object, so two
// problems with the same text are two entries. Every read replaces the list object; whoever holds the
// old one keeps the old problems.
//
// Main thread only.
class ProblemListDocument : public QVDocument {
public:
    static std::string filenameExtension() { return "problemlist"; }
    // The localised "ProblemSet".
    static std::string defaultFilenamePrefix();

    // A document for the file at `url`; it has no list until it is read.
    static std::shared_ptr<ProblemListDocument> create(std::filesystem::path url);

    // The problems in file order; null until the document has been read.
    const std::shared_ptr<ProblemList>& problems() const { return m_problems; }
    void setProblems(std::shared_ptr<ProblemList> problems) { m_problems = std::move(problems); }

    size_t totalProblems() const { return m_problems ? m_problems->size() : 0; }
    // Null past the end.
    ExprPtr problemAtIndex(size_t index) const;
    // Each of these counts one change when it changes the list.
    void addProblem(ExprPtr problem);
    // Removes that very problem; nothing when the set does not hold it.
    void deleteProblem(const ExprPtr& problem);
    // Puts `replacement` in the place of that very `original`, or at the end when the set does not hold
    // it (a new problem has none); nothing without a replacement.
    void replaceProblem(const ExprPtr& original, ExprPtr replacement);

    // The file's bytes for a list, and a list for the file's bytes (an error for bytes that are not
    // UTF-8).
    static std::string textOf(const ProblemList* problems);
    static core::Result<std::shared_ptr<ProblemList>> problemsOf(std::string_view bytes);

protected:
    using QVDocument::QVDocument;

    std::string contentsForType(std::string_view type) override;
    core::Status loadFromContents(std::string_view bytes, std::string_view type) override;

private:
    ProblemList& list();

    std::shared_ptr<ProblemList> m_problems;
};

} // namespace zm
