#include "platform/ui/EditableText.h"

#include <algorithm>

namespace ui {

void EditableText::index() {
    m_starts.clear();
    for (size_t byte = 0; byte < m_text.size(); ++byte) {
        // Continuation bytes (10xxxxxx) belong to the character before them.
        if ((static_cast<unsigned char>(m_text[byte]) & 0xC0) != 0x80)
            m_starts.push_back(byte);
    }
    m_starts.push_back(m_text.size());
}

void EditableText::setText(std::string text) {
    m_text = std::move(text);
    index();
    m_selection = {length(), 0};
}

void EditableText::setSelectedRange(TextRange range) {
    const size_t location = std::min(range.location, length());
    m_selection = {location, std::min(range.length, length() - location)};
}

void EditableText::replace(TextRange range, std::string_view text) {
    const size_t from = byteOffset(range.location);
    const size_t to = byteOffset(range.end());
    m_text.replace(from, to - from, text);
    index();
}

void EditableText::insert(std::string_view text) {
    const size_t before = length();
    const size_t location = m_selection.location;
    replace(m_selection, text);
    const size_t inserted = length() + m_selection.length - before;
    m_selection = {location + inserted, 0};
}

bool EditableText::apply(EditingKey key) {
    const TextRange selection = m_selection;
    switch (key) {
    case EditingKey::Backspace:
    case EditingKey::Delete: {
        TextRange doomed = selection;
        if (doomed.length == 0) {
            if (key == EditingKey::Backspace && doomed.location > 0)
                doomed = {doomed.location - 1, 1};
            else if (key == EditingKey::Delete && doomed.location < length())
                doomed = {doomed.location, 1};
            else
                return false;
        }
        replace(doomed, {});
        m_selection = {doomed.location, 0};
        return true;
    }
    case EditingKey::Left:
        m_selection = {selection.length > 0 ? selection.location
                                            : (selection.location > 0 ? selection.location - 1 : 0),
                       0};
        return false;
    case EditingKey::Right:
        m_selection = {selection.length > 0 ? selection.end() : std::min(selection.location + 1, length()),
                       0};
        return false;
    case EditingKey::Home:
        m_selection = {0, 0};
        return false;
    case EditingKey::End:
        m_selection = {length(), 0};
        return false;
    case EditingKey::Return:
        return false;
    }
    return false;
}

size_t EditableText::indexOfByte(size_t offset) const {
    const auto after = std::upper_bound(m_starts.begin(), m_starts.end(), offset);
    return std::min(size_t(after - m_starts.begin()) - 1, length());
}

} // namespace ui
