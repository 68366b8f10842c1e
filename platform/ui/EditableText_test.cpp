#include "platform/ui/EditableText.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(EditableText, TypingReplacesTheSelectionAndMovesTheCaret) {
    EditableText text;
    text.setText("2x");
    EXPECT_EQ(text.selectedRange(), (TextRange{2, 0}));
    text.insert("+1");
    EXPECT_EQ(text.text(), "2x+1");
    text.setSelectedRange({1, 2});
    text.insert("y");
    EXPECT_EQ(text.text(), "2y1");
    EXPECT_EQ(text.selectedRange(), (TextRange{2, 0}));
    text.setSelectedRange({7, 3}); // kept inside the text
    EXPECT_EQ(text.selectedRange(), (TextRange{3, 0}));
}

TEST(EditableText, KeysDeleteAndMoveByCharactersNotBytes) {
    EditableText text;
    text.setText("a\u00f7b"); // a ÷ b: the ÷ is two bytes
    EXPECT_EQ(text.length(), 3u);
    const struct {
        EditingKey key;
        const char* text;
        TextRange caret;
        bool changed;
    } steps[] = {
        {EditingKey::Left, "a\u00f7b", {2, 0}, false},
        {EditingKey::Backspace, "ab", {1, 0}, true},
        {EditingKey::Home, "ab", {0, 0}, false},
        {EditingKey::Backspace, "ab", {0, 0}, false}, // nothing before the caret
        {EditingKey::Delete, "b", {0, 0}, true},
        {EditingKey::End, "b", {1, 0}, false},
        {EditingKey::Delete, "b", {1, 0}, false},
        {EditingKey::Right, "b", {1, 0}, false},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(text.apply(step.key), step.changed) << step.text;
        EXPECT_EQ(text.text(), step.text);
        EXPECT_EQ(text.selectedRange(), step.caret) << step.text;
    }
    text.setText("abcd");
    text.setSelectedRange({1, 2});
    EXPECT_TRUE(text.apply(EditingKey::Backspace));
    EXPECT_EQ(text.text(), "ad");
    EXPECT_EQ(text.byteOffset(1), 1u);
}

} // namespace
} // namespace ui
