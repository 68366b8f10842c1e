#include "platform/core/Files.h"
#include "platform/core/Localization.h"
#include "platform/core/Log.h"
#include "platform/core/TemporaryFolder.h"

#include <map>

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(StringsFile, ReadsEntriesCommentsAndEscapes) {
    const char* text = R"(/* The banner of the long-division pattern. */
"WhatPattern" = "What's the pattern?";
// A line comment
"New Problem"="Neues Problem" ;
"quote \"x\"" = "tab\there\nline \\ \U00e9\u00E9 \101";
"Settings";
Done = OK;
"smile" = "\UD83D\UDE00";
"same" = "first"; "same" = "second";
)";
    const Result<StringsTable> table = parseStringsFile(text);
    ASSERT_TRUE(table) << table.error().description;
    EXPECT_EQ(table->at("WhatPattern"), "What's the pattern?");
    EXPECT_EQ(table->at("New Problem"), "Neues Problem");
    EXPECT_EQ(table->at("quote \"x\""), "tab\there\nline \\ \xC3\xA9\xC3\xA9 A");
    EXPECT_EQ(table->at("Settings"), "Settings");
    EXPECT_EQ(table->at("Done"), "OK");
    EXPECT_EQ(table->at("smile"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(table->at("same"), "second");
}

TEST(StringsFile, Utf16WithByteOrderMarkAndUtf8WithIt) {
    const std::string utf16le("\xFF\xFE\"\0a\0\"\0=\0\"\0\xC0\x03\"\0;\0", 18);
    EXPECT_EQ(parseStringsFile(utf16le)->at("a"), "\xCF\x80");
    const std::string utf16be("\xFE\xFF\0\"\0a\0\"\0=\0\"\x03\xC0\0\"\0;", 18);
    EXPECT_EQ(parseStringsFile(utf16be)->at("a"), "\xCF\x80");
    EXPECT_EQ(parseStringsFile("\xEF\xBB\xBF\"k\" = \"v\";")->at("k"), "v");
    EXPECT_TRUE(parseStringsFile("")->empty());
}

TEST(StringsFile, MalformedFilesNameTheLine) {
    const struct {
        const char* text;
        const char* says;
    } cases[] = {
        {"\"a\" = \"b\"\n\"c\" = \"d\";", "line 2: expected \";\""},
        {"\"a\" = \"b;\n", "line 1: a quoted text is never closed"},
        {"\n\n/* open", "line 3: a comment is never closed"},
        {"\"a\" = ;", "line 1: unexpected \";\""},
        {"\"a\" = \"\\U12\";", "four hexadecimal digits"},
        {"\"a\" =", "ends inside an entry"},
    };
    for (const auto& c : cases) {
        const Result<StringsTable> table = parseStringsFile(c.text);
        ASSERT_FALSE(table) << c.text;
        EXPECT_EQ(table.error().domain, kStringsErrorDomain);
        EXPECT_NE(table.error().description.find(c.says), std::string::npos) << table.error().description;
    }
}

std::function<const char*(const char*)> environment(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](const char* name) -> const char* {
        const auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    };
}

TEST(PreferredLanguages, FromLanguageThenLang) {
    const struct {
        std::map<std::string, std::string> variables;
        std::vector<std::string> languages;
    } cases[] = {
        {{}, {"en"}},
        {{{"LANG", "C.UTF-8"}}, {"en"}},
        {{{"LANG", "POSIX"}}, {"en"}},
        {{{"LANG", "en_US.UTF-8"}}, {"en"}},
        {{{"LANG", "en_GB.UTF-8"}}, {"en-GB"}},
        {{{"LANG", "de_DE.UTF-8@euro"}}, {"de"}},
        {{{"LANG", "pt_BR"}}, {"pt-BR"}},
        {{{"LANGUAGE", "fr_FR:de::en"}, {"LANG", "en_US.UTF-8"}}, {"fr", "de", "en"}},
        {{{"LANGUAGE", ""}, {"LANG", ""}}, {"en"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(preferredLanguagesFromEnvironment(environment(c.variables)), c.languages);
}

class LocalizationTest : public ::testing::Test {
protected:
    void write(const std::string& folder, const std::string& file, const std::string& text) {
        ASSERT_TRUE(createDirectories(m_bundle.path() / folder));
        ASSERT_TRUE(writeFileAtomically(m_bundle.path() / folder / file, text));
    }
    const std::filesystem::path& bundle() const { return m_bundle.path(); }

private:
    TemporaryFolder m_bundle;
};

TEST_F(LocalizationTest, MissingKeyAnswersTheDefaultOrTheKey) {
    write("en.lproj", "Localizable.strings", "\"Next Problem\" = \"Next problem!\";");
    const Localization english(bundle(), {"en"});
    EXPECT_EQ(english.localizedString("Next Problem"), "Next problem!");
    EXPECT_EQ(english.localizedString("Undo"), "Undo");
    EXPECT_EQ(english.localizedString("Undo", "Take back"), "Take back");
    EXPECT_EQ(english.localizedString("WhatPattern", ""), "WhatPattern");
    EXPECT_EQ(english.localizedString("Send", "", "Crashlog"), "Send");
}

TEST_F(LocalizationTest, LanguagesAreTriedInOrderWithRegionalFallback) {
    write("en.lproj", "Localizable.strings", "\"Done\" = \"Done\";");
    write("de.lproj", "Localizable.strings", "\"Done\" = \"Fertig\";");
    write("fr.lproj", "Other.strings", "\"Done\" = \"Terminé\";");
    EXPECT_EQ(Localization(bundle(), {"de-AT", "en"}).localizedString("Done"), "Fertig");
    EXPECT_EQ(Localization(bundle(), {"fr", "de"}).localizedString("Done"), "Fertig");
    EXPECT_EQ(Localization(bundle(), {"fr"}).localizedString("Done", "", "Other"), "Terminé");
    EXPECT_EQ(Localization(bundle(), {"ja"}).localizedString("Done"), "Done");
    // A bundle that is itself a language folder.
    EXPECT_EQ(Localization(bundle() / "de.lproj", {"en"}).localizedString("Done"), "Fertig");
}

TEST_F(LocalizationTest, ABrokenTableIsLoggedAndPassedOver) {
    write("de.lproj", "Localizable.strings", "\"Done\" = \"Fertig\"");
    write("en.lproj", "Localizable.strings", "\"Done\" = \"Finished\";");
    LogCapture log;
    const Localization german(bundle(), {"de"});
    EXPECT_EQ(german.localizedString("Done"), "Finished");
    EXPECT_EQ(german.localizedString("Done"), "Finished");
    ASSERT_EQ(log.entries().size(), 1u);
    EXPECT_NE(log.entries()[0].message.find("line 1"), std::string::npos);
}

TEST_F(LocalizationTest, MainLocalizationCanBeReplaced) {
    write("en.lproj", "Localizable.strings", "\"Settings\" = \"Preferences\";");
    Localization::setMain(std::make_shared<Localization>(bundle(), std::vector<std::string>{"en"}));
    EXPECT_EQ(localized("Settings"), "Preferences");
    EXPECT_EQ(Localization::main().preferredLanguages(), std::vector<std::string>{"en"});
    Localization::setMain(nullptr);
}

} // namespace
} // namespace core
