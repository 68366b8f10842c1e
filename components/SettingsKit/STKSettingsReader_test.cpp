#include "components/SettingsKit/STKSettingsReader.h"

#include "components/SettingsKit/STKTesting.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zm {
namespace {

using testing::group;
using testing::row;

// An application bundle made by the test: settings files and strings tables written where named.
class SettingsBundle : public ::testing::Test {
protected:
    void write(const std::string& relative, const std::string& text) { bundle.write(relative, text); }
    void writeSettings(const std::string& relative, core::Array rows, std::optional<std::string> table = {}) {
        bundle.writeSettings(relative, std::move(rows), table);
    }
    STKSettingsReader read(std::string_view file, ui::Idiom idiom, std::vector<std::string> languages = {"en"}) {
        return STKSettingsReader(file, bundle.path(), {idiom, std::move(languages)});
    }
    std::string relativeLocation(const STKSettingsReader& reader, std::string_view file) {
        return std::filesystem::relative(reader.locateSettingsFile(file), bundle.path()).string();
    }

    testing::SettingsBundle bundle;
};

struct CandidateCase {
    const char* name;
    ui::Idiom idiom;
    bool germanFirst;
    std::vector<std::string> files;
    std::string expected;
};

class CandidateSearch : public SettingsBundle, public ::testing::WithParamInterface<CandidateCase> {};

TEST_P(CandidateSearch, ReadsTheFirstCandidateThatExists) {
    const CandidateCase& c = GetParam();
    for (const std::string& file : c.files)
        writeSettings(file, {row("PSToggleSwitchSpecifier", file)});
    const STKSettingsReader reader =
        read("Root", c.idiom, c.germanFirst ? std::vector<std::string>{"de", "en"} : std::vector<std::string>{"en"});
    EXPECT_EQ(relativeLocation(reader, "Root"), c.expected);
    if (c.files.empty()) {
        EXPECT_FALSE(reader.settingsDictionary());
        EXPECT_EQ(reader.numberOfSections(), 0);
    } else {
        ASSERT_EQ(reader.numberOfSections(), 1);
        EXPECT_EQ(reader.specifierForIndexPath({0, 0})->key(), c.expected) << "the file read is the one found";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reader, CandidateSearch,
    ::testing::Values(
        CandidateCase{"AppSettingsBeforeSettings", ui::Idiom::Phone, false,
                      {"Settings.bundle/Root.plist", "AppSettings.bundle/Root.plist"}, "AppSettings.bundle/Root.plist"},
        CandidateCase{"TabletSuffixFirst", ui::Idiom::Tablet, false,
                      {"Settings.bundle/Root.plist", "Settings.bundle/Root~ipad.plist"}, "Settings.bundle/Root~ipad.plist"},
        CandidateCase{"PhoneSkipsTheTabletFile", ui::Idiom::Phone, false,
                      {"Settings.bundle/Root.plist", "Settings.bundle/Root~ipad.plist"}, "Settings.bundle/Root.plist"},
        CandidateCase{"LanguageFolderFirst", ui::Idiom::Phone, true,
                      {"Settings.bundle/Root.plist", "Settings.bundle/de.lproj/Root.plist"},
                      "Settings.bundle/de.lproj/Root.plist"},
        CandidateCase{"OtherLanguageFolderIgnored", ui::Idiom::Phone, false,
                      {"Settings.bundle/Root.plist", "Settings.bundle/de.lproj/Root.plist"}, "Settings.bundle/Root.plist"},
        CandidateCase{"InAppBeforePlainAndLanguage", ui::Idiom::Phone, true,
                      {"AppSettings.bundle/de.lproj/Root.plist", "AppSettings.bundle/Root.inApp.plist"},
                      "AppSettings.bundle/Root.inApp.plist"},
        CandidateCase{"SuffixBeforeLanguage", ui::Idiom::Tablet, true,
                      {"Settings.bundle/de.lproj/Root.plist", "Settings.bundle/Root~ipad.plist"},
                      "Settings.bundle/Root~ipad.plist"},
        CandidateCase{"NoneGivesTheLastCandidate", ui::Idiom::Phone, true, {}, "Settings.bundle/Root.plist"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsBundle, SuffixesFollowTheIdiom) {
    EXPECT_EQ(STKSettingsReader::platformSuffixForInterfaceIdiom(ui::Idiom::Phone), "~iphone");
    EXPECT_EQ(STKSettingsReader::platformSuffixForInterfaceIdiom(ui::Idiom::Tablet), "~ipad");
    EXPECT_EQ(STKSettingsReader::platformSuffixForInterfaceIdiom(std::nullopt), "");
}

// Sections: rows cut at group rows, hidden keys left out.
struct SectionCase {
    const char* name;
    core::Array rows;
    std::set<std::string, std::less<>> hidden;
    // Each section: its heading ("-" for none) and its row keys.
    std::vector<std::pair<std::string, std::vector<std::string>>> expected;
};

class SectionCutting : public SettingsBundle, public ::testing::WithParamInterface<SectionCase> {};

TEST_P(SectionCutting, CutsRowsIntoSections) {
    const SectionCase& c = GetParam();
    writeSettings("Settings.bundle/Root.plist", c.rows);
    STKSettingsReader reader = read("Root", ui::Idiom::Phone);
    reader.setHiddenKeys(c.hidden);
    std::vector<std::pair<std::string, std::vector<std::string>>> sections;
    for (int section = 0; section < reader.numberOfSections(); ++section) {
        std::vector<std::string> keys;
        for (int item = 0; item < reader.numberOfRowsForSection(section); ++item)
            keys.push_back(reader.specifierForIndexPath({section, item})->key().value_or("?"));
        sections.emplace_back(reader.titleForSection(section).value_or("-"), keys);
    }
    EXPECT_EQ(sections, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Reader, SectionCutting,
    ::testing::Values(
        SectionCase{"RowsBeforeTheFirstGroup",
                    {row("PSToggleSwitchSpecifier", "a"), group("G"), row("PSToggleSwitchSpecifier", "b")},
                    {},
                    {{"-", {"a"}}, {"G", {"b"}}}},
        SectionCase{"StartingWithAGroup", {group("G"), row("PSSliderSpecifier", "a")}, {}, {{"G", {"a"}}}},
        SectionCase{"TwoGroupsInARow",
                    {group("G"), group("H"), row("PSSliderSpecifier", "a")},
                    {},
                    {{"G", {}}, {"H", {"a"}}}},
        SectionCase{"HiddenRow",
                    {group("G"), row("PSSliderSpecifier", "a"), row("PSSliderSpecifier", "b")},
                    {"a"},
                    {{"G", {"b"}}}},
        SectionCase{"HiddenGroupMovesItsRowsUp",
                    {group("G"), row("PSSliderSpecifier", "a"), group("H", "h"), row("PSSliderSpecifier", "b")},
                    {"h"},
                    {{"G", {"a", "b"}}}},
        SectionCase{"HiddenFirstGroupMakesAHeadinglessSection",
                    {group("G", "g"), row("PSSliderSpecifier", "a"), group("H"), row("PSSliderSpecifier", "b")},
                    {"g"},
                    {{"-", {"a"}}, {"H", {"b"}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsBundle, AnswersKeysIndexPathsAndSectionTexts) {
    core::Dictionary footer = group("Display", "display");
    footer.set("FooterText", "Shown below");
    writeSettings("Settings.bundle/Root.plist",
                  {row("PSToggleSwitchSpecifier", "first"), footer, row("PSSliderSpecifier", "volume"),
                   row("PSTextFieldSpecifier", "name")});
    STKSettingsReader reader = read("Root", ui::Idiom::Phone);
    EXPECT_EQ(reader.indexPathForKey("name"), (ui::IndexPath{1, 1})) << "rows count after the heading";
    EXPECT_EQ(reader.indexPathForKey("volume"), (ui::IndexPath{1, 0}));
    EXPECT_EQ(reader.indexPathForKey("missing"), std::nullopt);
    EXPECT_EQ(reader.specifierForKey("name")->type(), "PSTextFieldSpecifier");
    EXPECT_EQ(reader.specifierForKey("missing"), nullptr);
    EXPECT_EQ(reader.titleForSection(0), std::nullopt);
    EXPECT_EQ(reader.titleForSection(1), "Display");
    EXPECT_EQ(reader.keyForSection(1), "display");
    EXPECT_EQ(reader.footerTextForSection(1), "Shown below");
    EXPECT_EQ(reader.specifierForIndexPath({5, 0}), nullptr);
    EXPECT_EQ(reader.pathForImageNamed("icon.png"), bundle.path() / "Settings.bundle/icon.png");
}

TEST_F(SettingsBundle, ChoosesTheStringsTable) {
    writeSettings("Settings.bundle/Advanced~ipad.plist", {row("PSToggleSwitchSpecifier", "a", "Sound")});
    write("Settings.bundle/en.lproj/Root.strings", "\"Sound\" = \"Sound from Root\";\n");
    EXPECT_EQ(read("Advanced", ui::Idiom::Tablet).localizationTable(), "Root") << "no Advanced table";

    write("Settings.bundle/en.lproj/Advanced.strings", "\"Sound\" = \"Sound from Advanced\";\n");
    STKSettingsReader reader = read("Advanced", ui::Idiom::Tablet);
    EXPECT_EQ(reader.localizationTable(), "Advanced");
    EXPECT_EQ(reader.specifierForIndexPath({0, 0})->title(), "Sound from Advanced");
    EXPECT_EQ(reader.titleForStringId("Untranslated"), "Untranslated");

    writeSettings("Settings.bundle/Named.plist", {row("PSToggleSwitchSpecifier", "a", "Sound")}, "Root");
    EXPECT_EQ(read("Named", ui::Idiom::Tablet).specifierForIndexPath({0, 0})->title(), "Sound from Root");
}

TEST_F(SettingsBundle, AFileInALanguageFolderLocalisesFromThere) {
    writeSettings("Settings.bundle/de.lproj/Root.plist", {row("PSToggleSwitchSpecifier", "a", "Sound")});
    write("Settings.bundle/de.lproj/Root.strings", "\"Sound\" = \"Ton\";\n");
    write("Settings.bundle/en.lproj/Root.strings", "\"Sound\" = \"Noise\";\n");
    STKSettingsReader reader = read("Root", ui::Idiom::Phone, {"de"});
    EXPECT_EQ(reader.settingsBundle(), bundle.path() / "Settings.bundle/de.lproj");
    EXPECT_EQ(reader.specifierForIndexPath({0, 0})->title(), "Ton");
    EXPECT_EQ(reader.pathForImageNamed("flag.png"), bundle.path() / "Settings.bundle/de.lproj/flag.png");
}

} // namespace
} // namespace zm
