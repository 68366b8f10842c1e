#include "components/SettingsKit/STKSpecifier.h"

#include "components/SettingsKit/STKSettingsReader.h"
#include "platform/ui/BundleImages.h"
#include "platform/ui/ClassRegistry.h"

#include <algorithm>
#include <utility>

namespace zm {

namespace {

template <class Enum>
Enum fromTable(const std::optional<std::string>& name, std::initializer_list<std::pair<std::string_view, Enum>> table,
               Enum fallback) {
    if (!name)
        return fallback;
    for (const auto& [text, value] : table)
        if (*name == text)
            return value;
    return fallback;
}

std::optional<std::string> registeredClass(const std::optional<std::string>& name) {
    if (name && ui::ClassRegistry::shared().contains(*name))
        return name;
    return std::nullopt;
}

} // namespace

STKSpecifier::STKSpecifier(core::Dictionary specifierDict)
    : m_specifierDict(std::move(specifierDict)) {
    const std::string rowType = type();
    if (rowType != kSTKPSMultiValueSpecifier && rowType != kSTKPSTitleValueSpecifier)
        return;
    m_multipleValuesDict.emplace();
    for (std::string_view list : {"Values", "Titles"})
        if (const core::Value* values = find(list))
            m_multipleValuesDict->set(std::string(list), *values);
}

std::optional<std::string> STKSpecifier::string(std::string_view key) const {
    const core::Value* value = find(key);
    if (!value || value->isNull())
        return std::nullopt;
    return value->stringValue();
}

std::string STKSpecifier::localized(std::string_view text) const {
    return m_settingsReader ? m_settingsReader->titleForStringId(text) : std::string(text);
}

std::string STKSpecifier::type() const {
    return string("Type").value_or("");
}

std::optional<std::string> STKSpecifier::key() const {
    return string("Key");
}

std::string STKSpecifier::title() const {
    const std::optional<std::string> text = string("Title");
    return text ? localized(*text) : std::string();
}

std::string STKSpecifier::footerText() const {
    const std::optional<std::string> text = string("FooterText");
    return text ? localized(*text) : std::string();
}

std::optional<core::Value> STKSpecifier::localizedObjectForKey(std::string_view key) const {
    const core::Value* value = find(key);
    if (!value)
        return std::nullopt;
    if (const std::string* text = value->asString())
        return core::Value(localized(*text));
    return *value;
}

std::optional<std::string> STKSpecifier::file() const {
    return string("File");
}

const core::Value* STKSpecifier::defaultValue() const {
    return find("DefaultValue");
}

std::optional<std::string> STKSpecifier::defaultStringValue() const {
    return string("DefaultValue");
}

bool STKSpecifier::defaultBoolValue() const {
    const core::Value* value = defaultValue();
    if (!value)
        return false;
    if (const core::Value* on = trueValue(); on && *on == *value)
        return true;
    if (const core::Value* off = falseValue(); off && *off == *value)
        return false;
    return value->boolValue();
}

const core::Value* STKSpecifier::trueValue() const {
    return find("TrueValue");
}

const core::Value* STKSpecifier::falseValue() const {
    return find("FalseValue");
}

float STKSpecifier::minimumValue() const {
    const core::Value* value = find("MinimumValue");
    return value ? value->floatValue() : 0;
}

float STKSpecifier::maximumValue() const {
    const core::Value* value = find("MaximumValue");
    return value ? value->floatValue() : 0;
}

std::optional<std::string> STKSpecifier::minimumValueImage() const {
    return string("MinimumValueImage");
}

std::optional<std::string> STKSpecifier::maximumValueImage() const {
    return string("MaximumValueImage");
}

bool STKSpecifier::isSecure() const {
    const core::Value* value = find("IsSecure");
    return value && value->boolValue();
}

STKKeyboardType STKSpecifier::keyboardType() const {
    // The decimal pad exists on every platform version this runs as.
    return fromTable(string("KeyboardType"),
                     {{"Alphabet", STKKeyboardType::Default},
                      {"NumbersAndPunctuation", STKKeyboardType::NumbersAndPunctuation},
                      {"NumberPad", STKKeyboardType::NumberPad},
                      {"PhonePad", STKKeyboardType::PhonePad},
                      {"NamePhonePad", STKKeyboardType::NamePhonePad},
                      {"AsciiCapable", STKKeyboardType::ASCIICapable},
                      {"DecimalPad", STKKeyboardType::DecimalPad},
                      {"URL", STKKeyboardType::URL},
                      {"EmailAddress", STKKeyboardType::EmailAddress}},
                     STKKeyboardType::Default);
}

STKAutocapitalizationType STKSpecifier::autocapitalizationType() const {
    return fromTable(string("AutocapitalizationType"),
                     {{"None", STKAutocapitalizationType::None},
                      {"Sentences", STKAutocapitalizationType::Sentences},
                      {"Words", STKAutocapitalizationType::Words},
                      {"AllCharacters", STKAutocapitalizationType::AllCharacters}},
                     STKAutocapitalizationType::None);
}

STKAutocorrectionType STKSpecifier::autoCorrectionType() const {
    return fromTable(string("AutocorrectionType"),
                     {{"Default", STKAutocorrectionType::Default},
                      {"No", STKAutocorrectionType::No},
                      {"Yes", STKAutocorrectionType::Yes}},
                     STKAutocorrectionType::Default);
}

std::shared_ptr<const gfx::Image> STKSpecifier::cellImage() const {
    const std::optional<std::string> name = string("STKCellImage");
    return name ? ui::imageNamed(*name) : nullptr;
}

std::shared_ptr<const gfx::Image> STKSpecifier::highlightedCellImage() const {
    const std::optional<std::string> name = string("STKCellImage");
    return name ? ui::imageNamed(*name + "Highlighted") : nullptr;
}

bool STKSpecifier::adjustsFontSizeToFitWidth() const {
    const core::Value* value = find("STKAdjustsFontSizeToFitWidth");
    return !value || value->boolValue();
}

gfx::TextAlignment STKSpecifier::textAlignment() const {
    const std::optional<std::string> alignment = string("STKTextAlignment");
    if (alignment == "STKUITextAlignmentLeft")
        return gfx::TextAlignment::Left;
    if (alignment == "STKUITextAlignmentCenter")
        return gfx::TextAlignment::Center;
    if (alignment == "STKUITextAlignmentRight")
        return gfx::TextAlignment::Right;
    const std::string rowType = type();
    if (rowType == kSTKButtonSpecifier && !find("STKCellImage"))
        return gfx::TextAlignment::Center;
    if (rowType == kSTKPSMultiValueSpecifier || rowType == kSTKPSTitleValueSpecifier)
        return gfx::TextAlignment::Right;
    return gfx::TextAlignment::Left;
}

std::optional<std::string> STKSpecifier::viewControllerClass() const {
    return registeredClass(string("STKViewControllerClass"));
}

const STKNamedOperations::Initializer* STKSpecifier::viewControllerSelector() const {
    const std::optional<std::string> name = string("STKViewControllerSelector");
    return name ? STKNamedOperations::shared().initializer(*name) : nullptr;
}

std::optional<std::string> STKSpecifier::buttonClass() const {
    return registeredClass(string("STKButtonClass"));
}

std::optional<std::string> STKSpecifier::buttonAction() const {
    std::optional<std::string> name = string("STKButtonAction");
    if (name && STKNamedOperations::shared().hasClassOperation(*name))
        return name;
    return std::nullopt;
}

const core::Array* STKSpecifier::multipleValues() const {
    const core::Value* values = m_multipleValuesDict ? m_multipleValuesDict->find("Values") : nullptr;
    return values ? values->asArray() : nullptr;
}

const core::Array* STKSpecifier::multipleTitles() const {
    const core::Value* titles = m_multipleValuesDict ? m_multipleValuesDict->find("Titles") : nullptr;
    return titles ? titles->asArray() : nullptr;
}

size_t STKSpecifier::multipleValuesCount() const {
    const core::Array* values = multipleValues();
    return values ? values->size() : 0;
}

std::optional<std::string> STKSpecifier::titleForCurrentValue(const core::Value& value) const {
    const core::Array* values = multipleValues();
    const core::Array* titles = multipleTitles();
    if (!values || !titles || values->size() != titles->size())
        return std::nullopt;
    const auto found = std::find(values->begin(), values->end(), value);
    if (found == values->end())
        return std::nullopt;
    const core::Value& title = (*titles)[size_t(found - values->begin())];
    if (!title.asString())
        return std::nullopt;
    return localized(*title.asString());
}

} // namespace zm
