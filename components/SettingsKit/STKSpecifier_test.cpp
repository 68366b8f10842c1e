#include "components/SettingsKit/STKSpecifier.h"

#include "platform/core/Log.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/ViewController.h"

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

namespace zm {
namespace {

STKSpecifier rowWith(std::string type, core::Dictionary more = {}) {
    more.set("Type", std::move(type));
    return STKSpecifier(std::move(more));
}

struct EnumCase {
    const char* text;
    int expected;
};

TEST(STKSpecifier, KeyboardCapitalisationAndCorrectionTables) {
    const EnumCase keyboards[] = {{"Alphabet", 0}, {"NumbersAndPunctuation", 2}, {"NumberPad", 4},
                                  {"PhonePad", 5}, {"NamePhonePad", 6},          {"AsciiCapable", 1},
                                  {"DecimalPad", 8}, {"URL", 3},                 {"EmailAddress", 7},
                                  {"Braille", 0}};
    for (const EnumCase& c : keyboards)
        EXPECT_EQ(int(rowWith("PSTextFieldSpecifier", {{"KeyboardType", c.text}}).keyboardType()), c.expected) << c.text;
    const EnumCase capitals[] = {{"None", 0}, {"Sentences", 2}, {"Words", 1}, {"AllCharacters", 3}, {"Some", 0}};
    for (const EnumCase& c : capitals)
        EXPECT_EQ(int(rowWith("PSTextFieldSpecifier", {{"AutocapitalizationType", c.text}}).autocapitalizationType()),
                  c.expected)
            << c.text;
    const EnumCase corrections[] = {{"Default", 0}, {"No", 1}, {"Yes", 2}, {"Maybe", 0}};
    for (const EnumCase& c : corrections)
        EXPECT_EQ(int(rowWith("PSTextFieldSpecifier", {{"AutocorrectionType", c.text}}).autoCorrectionType()),
                  c.expected)
            << c.text;
    const STKSpecifier bare = rowWith("PSTextFieldSpecifier");
    EXPECT_EQ(bare.keyboardType(), STKKeyboardType::Default);
    EXPECT_EQ(bare.autocapitalizationType(), STKAutocapitalizationType::None);
    EXPECT_EQ(bare.autoCorrectionType(), STKAutocorrectionType::Default);
}

TEST(STKSpecifier, AlignmentTable) {
    struct Case {
        const char* type;
        core::Dictionary more;
        gfx::TextAlignment expected;
    };
    const Case cases[] = {
        {"PSToggleSwitchSpecifier", {{"STKTextAlignment", "STKUITextAlignmentRight"}}, gfx::TextAlignment::Right},
        {"PSMultiValueSpecifier", {{"STKTextAlignment", "STKUITextAlignmentLeft"}}, gfx::TextAlignment::Left},
        {"PSTextFieldSpecifier", {{"STKTextAlignment", "STKUITextAlignmentCenter"}}, gfx::TextAlignment::Center},
        {"STKButtonSpecifier", {}, gfx::TextAlignment::Center},
        {"STKButtonSpecifier", {{"STKCellImage", "icon"}}, gfx::TextAlignment::Left},
        {"PSMultiValueSpecifier", {}, gfx::TextAlignment::Right},
        {"PSTitleValueSpecifier", {{"STKTextAlignment", "Sideways"}}, gfx::TextAlignment::Right},
        {"PSChildPaneSpecifier", {}, gfx::TextAlignment::Left},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rowWith(c.type, c.more).textAlignment(), c.expected) << c.type;
}

TEST(STKSpecifier, DefaultTruthValue) {
    struct Case {
        core::Dictionary row;
        bool expected;
    };
    const Case cases[] = {
        {{{"DefaultValue", "on"}, {"TrueValue", "on"}, {"FalseValue", "off"}}, true},
        {{{"DefaultValue", "off"}, {"TrueValue", "on"}, {"FalseValue", "off"}}, false},
        {{{"DefaultValue", 1}}, true},
        {{{"DefaultValue", 0}, {"TrueValue", 0}}, true},
        {{}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rowWith("PSToggleSwitchSpecifier", c.row).defaultBoolValue(), c.expected)
            << ::testing::PrintToString(core::Value(c.row).stringValue());
}

TEST(STKSpecifier, ValueListsAndTheirTitles) {
    const STKSpecifier uneven = rowWith(
        "PSMultiValueSpecifier", {{"Values", core::Array{1, 2, 3}}, {"Titles", core::Array{"One", "Two"}}});
    EXPECT_EQ(uneven.multipleValuesCount(), 3u);
    EXPECT_EQ(uneven.titleForCurrentValue(1), std::nullopt) << "three values, two titles";

    const STKSpecifier even = rowWith(
        "PSTitleValueSpecifier", {{"Values", core::Array{"a", 2}}, {"Titles", core::Array{"Letter", "Two"}}});
    EXPECT_EQ(even.titleForCurrentValue(core::Value(2)), "Two");
    EXPECT_EQ(even.titleForCurrentValue(core::Value("a")), "Letter");
    EXPECT_EQ(even.titleForCurrentValue(core::Value("b")), std::nullopt);

    const STKSpecifier toggle = rowWith("PSToggleSwitchSpecifier", {{"Values", core::Array{1}}});
    EXPECT_FALSE(toggle.multipleValuesDict()) << "only the two list types keep value lists";
    EXPECT_EQ(toggle.multipleValuesCount(), 0u);
}

TEST(STKSpecifier, FallsBackWhereKeysAreMissing) {
    const STKSpecifier bare = rowWith("Unknown");
    EXPECT_EQ(bare.title(), "");
    EXPECT_EQ(bare.footerText(), "");
    EXPECT_EQ(bare.key(), std::nullopt);
    EXPECT_EQ(bare.defaultStringValue(), std::nullopt);
    EXPECT_EQ(bare.minimumValue(), 0);
    EXPECT_FALSE(bare.isSecure());
    EXPECT_TRUE(bare.adjustsFontSizeToFitWidth());
    EXPECT_EQ(bare.cellImage(), nullptr);
    EXPECT_EQ(bare.viewControllerClass(), std::nullopt);
    EXPECT_EQ(bare.viewControllerSelector(), nullptr);

    const STKSpecifier full = rowWith("PSSliderSpecifier", {{"DefaultValue", 5},
                                                            {"MaximumValue", 10},
                                                            {"STKAdjustsFontSizeToFitWidth", false},
                                                            {"IsSecure", true}});
    EXPECT_EQ(full.defaultStringValue(), "5") << "the number 5 as text";
    EXPECT_EQ(full.maximumValue(), 10);
    EXPECT_FALSE(full.adjustsFontSizeToFitWidth());
    EXPECT_TRUE(full.isSecure());
}

TEST(STKSpecifier, TheHighlightedImageAppendsToTheWholeName) {
    const STKSpecifier shown = rowWith("STKButtonSpecifier", {{"STKCellImage", "goButton"}});
    EXPECT_NE(shown.cellImage(), nullptr);
    // The resources have no highlighted twin: the name looked for is the whole name and "Highlighted".
    const core::LogCapture log;
    EXPECT_EQ(shown.highlightedCellImage(), nullptr);
    EXPECT_TRUE(std::ranges::any_of(log.messages(), [](const std::string& message) {
        return message.find("\"goButtonHighlighted\"") != std::string::npos;
    })) << ::testing::PrintToString(log.messages());
}

TEST(STKSpecifier, NamedClassesAndOperationsResolveOnlyWhenKnown) {
    ui::ClassRegistry::shared().registerClass<ui::ViewController>("KitTestScreen", "ViewController",
                                                                  [] { return ui::ViewController::create(); });
    STKNamedOperations::shared().addInitializer("initWithFile:key:", [](ui::ViewController&, const std::string&,
                                                                        const std::string&) {});
    STKNamedOperations::shared().addClassOperation("KitTestScreen", "tapped:key:",
                                                   [](ui::ViewController&, const std::string&) {});
    const STKSpecifier known = rowWith("PSChildPaneSpecifier", {{"STKViewControllerClass", "KitTestScreen"},
                                                                {"STKViewControllerSelector", "initWithFile:key:"},
                                                                {"STKButtonClass", "KitTestScreen"},
                                                                {"STKButtonAction", "tapped:key:"}});
    EXPECT_EQ(known.viewControllerClass(), "KitTestScreen");
    EXPECT_NE(known.viewControllerSelector(), nullptr);
    EXPECT_EQ(known.buttonClass(), "KitTestScreen");
    EXPECT_EQ(known.buttonAction(), "tapped:key:");
    const STKSpecifier unknown = rowWith("PSChildPaneSpecifier", {{"STKViewControllerClass", "NoSuchScreen"},
                                                                  {"STKViewControllerSelector", "noSuch:"},
                                                                  {"STKButtonAction", "noSuch:"}});
    EXPECT_EQ(unknown.viewControllerClass(), std::nullopt);
    EXPECT_EQ(unknown.viewControllerSelector(), nullptr);
    EXPECT_EQ(unknown.buttonAction(), std::nullopt);
    STKNamedOperations::shared().removeAll();
}

} // namespace
} // namespace zm
