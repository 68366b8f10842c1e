#pragma once

#include "platform/ui/KeyInput.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// A stretch of text counted in characters (Unicode code points): where it starts and how long it is.
// A selection of length 0 is a caret.
struct TextRange {
    size_t location = 0;
    size_t length = 0;

    size_t end() const { return location + length; }
    friend bool operator==(const TextRange&, const TextRange&) = default;
};

// Text being edited: UTF-8 text with a selection, and the edits that typing makes.
class EditableText {
public:
    const std::string& text() const { return m_text; }
    // Replaces the text; the caret goes to its end.
    void setText(std::string text);
    // In characters.
    size_t length() const { return m_starts.size() - 1; }

    TextRange selectedRange() const { return m_selection; }
    // Kept inside the text.
    void setSelectedRange(TextRange range);

    // Replaces the selection (at a caret: inserts there); the caret goes after the new text.
    void insert(std::string_view text);
    // Deletes the selection, else the character before (Backspace) or after (Delete) the caret; the
    // arrows and Home/End move the caret. Answers whether the text changed.
    bool apply(EditingKey key);

    // The byte offset where character `index` starts (the text's size for its end).
    size_t byteOffset(size_t index) const { return m_starts[std::min(index, length())]; }
    // The character that starts at or contains byte `offset` (the length for the end and past it).
    size_t indexOfByte(size_t offset) const;

private:
    void index();
    void replace(TextRange range, std::string_view text);

    std::string m_text;
    std::vector<size_t> m_starts{0}; // byte offset of each character, and the end
    TextRange m_selection;
};

} // namespace ui
