#include "shell/intro/BoldMarkup.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(BoldMarkup, MarkedPhrasesTakeTheMarkedFontAndTheMarksGo) {
    const gfx::Font plain = gfx::Font::system(20);
    const gfx::Font marked = gfx::Font::boldSystem(20);
    const struct {
        const char* text;
        // The runs, the marked ones in [brackets].
        std::vector<std::string> runs;
    } cases[] = {
        {"You can <b>tap</b>, <b>drag</b>, and <b>draw lines</b>.",
         {"You can ", "[tap]", ", ", "[drag]", ", and ", "[draw lines]", "."}},
        {"No marks at all.", {"No marks at all."}},
        {"<b>First</b> and last", {"[First]", " and last"}},
        {"Ends <b>heavy</b>", {"Ends ", "[heavy]"}},
        {"<B>Any</B> <b>case</B>", {"[Any]", " ", "[case]"}},
        {"<b>one</b><b>two</b>", {"[one]", "[two]"}},
        {"Open <b>mark", {"Open <b>mark"}},
        {"Empty <b></b>mark", {"Empty ", "mark"}},
        {"<b>lazy</b> then </b>", {"[lazy]", " then </b>"}},
        {"Zwölf <b>Äpfel</b>", {"Zwölf ", "[Äpfel]"}},
        {"", {}},
    };
    for (const auto& test : cases) {
        const gfx::AttributedText text = boldMarkupText(test.text, plain, marked);
        std::vector<std::string> runs;
        for (const gfx::TextRun& run : text.runs())
            runs.push_back(run.font == marked ? "[" + run.text + "]" : run.text);
        EXPECT_EQ(runs, test.runs) << test.text;
        for (const gfx::TextRun& run : text.runs())
            EXPECT_TRUE(run.font == plain || run.font == marked) << test.text;
    }
}

} // namespace
} // namespace zm
