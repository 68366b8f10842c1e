#include "problemsets/documents/ProblemListDocument.h"

#include "JTMathParser/ExprTextReader.h"
#include "platform/core/Encoding.h"
#include "platform/core/Localization.h"

#include <algorithm>

namespace zm {

std::string ProblemListDocument::defaultFilenamePrefix() {
    return core::localized("ProblemSet");
}

std::shared_ptr<ProblemListDocument> ProblemListDocument::create(std::filesystem::path url) {
    return std::shared_ptr<ProblemListDocument>(new ProblemListDocument(std::move(url)));
}

ProblemList& ProblemListDocument::list() {
    if (!m_problems)
        m_problems = std::make_shared<ProblemList>();
    return *m_problems;
}

ExprPtr ProblemListDocument::problemAtIndex(size_t index) const {
    return index < totalProblems() ? (*m_problems)[index] : nullptr;
}

void ProblemListDocument::addProblem(ExprPtr problem) {
    list().push_back(std::move(problem));
    updateChangeCount(documents::ChangeKind::Done);
}

void ProblemListDocument::deleteProblem(const ExprPtr& problem) {
    if (!m_problems)
        return;
    const auto found = std::find(m_problems->begin(), m_problems->end(), problem);
    if (found == m_problems->end())
        return;
    m_problems->erase(found);
    updateChangeCount(documents::ChangeKind::Done);
}

void ProblemListDocument::replaceProblem(const ExprPtr& original, ExprPtr replacement) {
    if (!replacement)
        return;
    ProblemList& problems = list();
    const auto found = original ? std::find(problems.begin(), problems.end(), original) : problems.end();
    if (found != problems.end())
        *found = std::move(replacement);
    else
        problems.push_back(std::move(replacement));
    updateChangeCount(documents::ChangeKind::Done);
}

std::string ProblemListDocument::textOf(const ProblemList* problems) {
    std::string text;
    if (!problems)
        return text;
    for (const ExprPtr& problem : *problems) {
        text += problem->description();
        text += '\n';
    }
    return text;
}

core::Result<std::shared_ptr<ProblemList>> ProblemListDocument::problemsOf(std::string_view bytes) {
    if (!core::isValidUtf8(bytes))
        return documents::documentsError(documents::kDocumentsErrorUnreadable,
                                         "the file is not text in UTF-8, so not a problem set");
    auto problems = std::make_shared<ProblemList>();
    while (!bytes.empty()) {
        const size_t end = std::min(bytes.find('\n'), bytes.size());
        // Only a line feed ends a line: a carriage return before it belongs to the line.
        if (const std::string_view line = bytes.substr(0, end); !line.empty())
            problems->push_back(ExprTextReader::parseString(line));
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
    }
    return problems;
}

std::string ProblemListDocument::contentsForType(std::string_view) {
    return textOf(m_problems.get());
}

core::Status ProblemListDocument::loadFromContents(std::string_view bytes, std::string_view) {
    core::Result<std::shared_ptr<ProblemList>> read = problemsOf(bytes);
    if (!read)
        return read.error();
    m_problems = std::move(*read);
    return {};
}

} // namespace zm
