#include "platform/gfx/Font.h"
#include "platform/gfx/FontMap.h"
#include "platform/gfx/FontRegistry.h"
#include "platform/gfx/TextEngine.h"

#include <filesystem>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace gfx {
namespace {

using testing::ElementsAre;

struct NamedFont {
    const char* name;
    const char* family;
};

TEST(FontRegistryTest, AnswersTheNamesTheGameAsksFor) {
    for (const NamedFont& expected :
         {NamedFont{"Georgia", "Georgia"}, NamedFont{"Georgia-Italic", "Georgia"},
          NamedFont{"HelveticaNeue-Light", "Helvetica Neue"},
          NamedFont{"HelveticaNeue-Ultralight", "Helvetica Neue"},
          NamedFont{"HelveticaNeue-Bold", "Helvetica Neue"}, NamedFont{"Verdana", "Verdana"}}) {
        const std::optional<Font> font = Font::named(expected.name, 20);
        ASSERT_TRUE(font) << expected.name;
        EXPECT_EQ(font->name(), expected.name);
        EXPECT_EQ(font->familyName(), expected.family);
        EXPECT_EQ(font->pointSize(), 20);
    }
    EXPECT_EQ(Font::system(17).name(), "HelveticaNeue");
    EXPECT_EQ(Font::boldSystem(16).name(), "HelveticaNeue-Bold");
    EXPECT_EQ(Font::boldSystem(16).familyName(), "Helvetica Neue");
}

TEST(FontRegistryTest, AFamilysNameNamesItsRegularFace) {
    for (const std::string& family : FontRegistry::familyNames()) {
        const std::optional<Font> font = Font::named(family, 14);
        ASSERT_TRUE(font) << family;
        EXPECT_EQ(font->familyName(), family);
        EXPECT_EQ(font->face().weight, 400) << family;
        EXPECT_FALSE(font->face().italic) << family;
        EXPECT_EQ(font->pointSize(), 14);
    }
    EXPECT_EQ(Font::named("Helvetica Neue", 0)->name(), "HelveticaNeue");
}

TEST(FontRegistryTest, UnknownNamesFindNothing) {
    for (const char* name : {"Arial", "georgia", "Georgia ", "", "EB Garamond", "Roboto", "helvetica neue"}) {
        EXPECT_EQ(Font::named(name, 12), std::nullopt) << name;
    }
}

TEST(FontRegistryTest, ListsFamiliesAndTheirFaces) {
    EXPECT_THAT(FontRegistry::familyNames(), ElementsAre("Georgia", "Helvetica Neue", "Verdana"));
    EXPECT_THAT(FontRegistry::fontNames("Georgia"), ElementsAre("Georgia", "Georgia-Italic"));
    EXPECT_THAT(FontRegistry::fontNames("Helvetica Neue"),
                ElementsAre("HelveticaNeue", "HelveticaNeue-Bold", "HelveticaNeue-Light",
                            "HelveticaNeue-Ultralight"));
    EXPECT_TRUE(FontRegistry::fontNames("Courier").empty());
}

// Every face must be drawn from its own file: a face that silently fell back to another would
// measure and look wrong without any error.
TEST(FontRegistryTest, EveryFaceIsDrawnFromItsFile) {
    for (const FontFace& face : FontRegistry::faces()) {
        ASSERT_TRUE(std::filesystem::exists(face.file)) << face.file << " (scripts/setup installs it)";
        const Font font = *Font::named(face.name, 30);
        auto lock = detail::lockText();
        PangoFont* loaded = pango_font_map_load_font(pango_context_get_font_map(detail::context()),
                                                     detail::context(), detail::describe(font).get());
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(detail::fontFile(loaded), face.file) << face.name;
        g_object_unref(loaded);
    }
}

} // namespace
} // namespace gfx
