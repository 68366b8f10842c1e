#pragma once

#include "components/SettingsKit/STKNamedOperations.h"
#include "platform/core/Value.h"
#include "platform/gfx/Text.h"

#include <memory>
#include <optional>
#include <string>

namespace gfx {
class Image;
}

namespace zm {

class STKSettingsReader;

// Row types of a settings file ("Type").
inline constexpr std::string_view kSTKPSGroupSpecifier = "PSGroupSpecifier";
inline constexpr std::string_view kSTKPSToggleSwitchSpecifier = "PSToggleSwitchSpecifier";
inline constexpr std::string_view kSTKPSMultiValueSpecifier = "PSMultiValueSpecifier";
inline constexpr std::string_view kSTKPSTitleValueSpecifier = "PSTitleValueSpecifier";
inline constexpr std::string_view kSTKPSTextFieldSpecifier = "PSTextFieldSpecifier";
inline constexpr std::string_view kSTKPSSliderSpecifier = "PSSliderSpecifier";
inline constexpr std::string_view kSTKPSChildPaneSpecifier = "PSChildPaneSpecifier";
inline constexpr std::string_view kSTKOpenURLSpecifier = "STKOpenURLSpecifier";
inline constexpr std::string_view kSTKButtonSpecifier = "STKButtonSpecifier";
inline constexpr std::string_view kSTKMailComposeSpecifier = "STKMailComposeSpecifier";
inline constexpr std::string_view kSTKCustomViewSpecifier = "STKCustomViewSpecifier";
inline constexpr std::string_view kSTKFontSelectorSpecifier = "STKFontSelectorSpecifier";

// The keyboards, capitalisations and corrections a text row may ask for, numbered as settings
// files and the platform number them.
enum class STKKeyboardType {
    Default = 0,
    ASCIICapable = 1,
    NumbersAndPunctuation = 2,
    URL = 3,
    NumberPad = 4,
    PhonePad = 5,
    NamePhonePad = 6,
    EmailAddress = 7,
    DecimalPad = 8,
};
enum class STKAutocapitalizationType { None = 0, Words = 1, Sentences = 2, AllCharacters = 3 };
enum class STKAutocorrectionType { Default = 0, No = 1, Yes = 2 };

// One row of a settings file, seen through typed accessors: each reads the row's dictionary afresh
// and falls back as the row types allow when a key is missing. Texts are localised through the
// reader the row was last fetched from.
class STKSpecifier {
public:
    explicit STKSpecifier(core::Dictionary specifierDict);

    const core::Dictionary& specifierDict() const { return m_specifierDict; }
    // The "Values" and "Titles" of a multiple-value or title-value row; nothing for other types.
    const std::optional<core::Dictionary>& multipleValuesDict() const { return m_multipleValuesDict; }
    // The reader that localises the row; it owns the row. Null until the reader hands the row out.
    const STKSettingsReader* settingsReader() const { return m_settingsReader; }
    void setSettingsReader(const STKSettingsReader* reader) { m_settingsReader = reader; }

    std::string type() const;
    std::optional<std::string> key() const;
    std::string title() const;
    std::string footerText() const;
    // The value of `key` localised (a text) or as it is (anything else); nothing when absent.
    std::optional<core::Value> localizedObjectForKey(std::string_view key) const;
    std::optional<std::string> file() const;
    const core::Value* defaultValue() const;
    std::optional<std::string> defaultStringValue() const;
    bool defaultBoolValue() const;
    const core::Value* trueValue() const;
    const core::Value* falseValue() const;
    float minimumValue() const;
    float maximumValue() const;
    std::optional<std::string> minimumValueImage() const;
    std::optional<std::string> maximumValueImage() const;
    bool isSecure() const;
    STKKeyboardType keyboardType() const;
    STKAutocapitalizationType autocapitalizationType() const;
    STKAutocorrectionType autoCorrectionType() const;
    std::shared_ptr<const gfx::Image> cellImage() const;
    std::shared_ptr<const gfx::Image> highlightedCellImage() const;
    bool adjustsFontSizeToFitWidth() const;
    gfx::TextAlignment textAlignment() const;
    // A class or operation named by the row, when the class registry or the named operations know it.
    std::optional<std::string> viewControllerClass() const;
    const STKNamedOperations::Initializer* viewControllerSelector() const;
    std::optional<std::string> buttonClass() const;
    std::optional<std::string> buttonAction() const;
    const core::Array* multipleValues() const;
    const core::Array* multipleTitles() const;
    size_t multipleValuesCount() const;
    // The localised title of `value` in the row's value list; nothing when it has none or the lists
    // differ in length.
    std::optional<std::string> titleForCurrentValue(const core::Value& value) const;

private:
    const core::Value* find(std::string_view key) const { return m_specifierDict.find(key); }
    std::optional<std::string> string(std::string_view key) const;
    std::string localized(std::string_view text) const;

    core::Dictionary m_specifierDict;
    std::optional<core::Dictionary> m_multipleValuesDict;
    const STKSettingsReader* m_settingsReader = nullptr;
};

} // namespace zm
