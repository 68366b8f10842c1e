#include "crashlog/service/CLGSettings.h"

#include "crashlog/log/CLGLog.h"
#include "platform/core/DictionaryFile.h"
#include "platform/core/Json.h"
#include "platform/core/Localization.h"
#include "platform/core/MainLoop.h"
#include "platform/core/PropertyList.h"
#include "platform/core/Files.h"
#include "platform/core/UserDefaults.h"

#include <cctype>

namespace zm {

namespace {

const core::Dictionary kEmpty;

// Written over the old file by rename, never after removing it: a document the property-list form
// cannot hold (a JSON null) or a failed write leaves the previous settings in place.
core::Status writeDocument(const core::Dictionary& document, const std::filesystem::path& path) {
    core::Result<std::string> bytes = core::toPropertyList(document);
    if (!bytes)
        return bytes.error();
    if (path.has_parent_path()) {
        if (core::Status made = core::createDirectories(path.parent_path()); !made)
            return made;
    }
    return core::writeFileAtomically(path, *bytes);
}

} // namespace

bool CLGSettings::writeSettings(const core::Dictionary* document, const std::filesystem::path& path) {
    if (!document || path.empty()) {
        CLGDebugLog("[Crashlog] Unable to construct settings");
        return false;
    }
    core::Dictionary copy = *document;
    const core::Value* existing = copy.find("settings");
    core::Dictionary settings = existing && existing->asDictionary() ? *existing->asDictionary() : core::Dictionary();
    const core::Value* duration = copy.find("cache_duration");
    const int64_t seconds = duration ? duration->integerValue() : 0;
    const double validity = seconds > 0 ? static_cast<double>(seconds) : kDefaultValidity;
    settings.set("valid_until", core::Date{core::currentDate().secondsSince1970 + validity});
    copy.set("settings", std::move(settings));

    const core::Status written = writeDocument(copy, path);
    if (!written) {
        CLGDebugLog("[Crashlog] Could not write settings out to %s: %s", path.c_str(), core::toJson(copy).c_str());
        return false;
    }
    return true;
}

bool CLGSettings::userDesiresReportsAlwaysBeSent() {
    return core::UserDefaults::standard().boolForKey(kAlwaysSendKey);
}

void CLGSettings::setUserDesiresReportsAlwaysBeSent(bool always) {
    CLGDebugLog("[Crashlog] [Settings] User has requested that reports %s be sent. Recording.", always ? "always" : "not always");
    core::UserDefaults& defaults = core::UserDefaults::standard();
    defaults.setBool(always, kAlwaysSendKey);
    defaults.synchronize();
}

std::unique_ptr<CLGSettings> CLGSettings::initWithCachePath(const std::filesystem::path& path) {
    core::Result<std::string> bytes = core::readFile(path);
    if (!bytes)
        return nullptr;
    core::Result<core::Value> document = core::parsePropertyList(*bytes);
    if (!document || !document->asDictionary())
        return nullptr;
    return std::unique_ptr<CLGSettings>(new CLGSettings(path, *document->asDictionary()));
}

CLGSettings::CLGSettings(std::filesystem::path cachePath, core::Dictionary dictionary)
    : m_cachePath(std::move(cachePath))
    , m_dictionary(std::move(dictionary)) {}

const core::Dictionary& CLGSettings::section(const core::Dictionary& within, std::string_view name) const {
    const core::Value* value = within.find(name);
    return value && value->asDictionary() ? *value->asDictionary() : kEmpty;
}

bool CLGSettings::flag(const core::Dictionary& within, std::string_view key) const {
    const core::Value* value = within.find(key);
    return value && value->boolValue();
}

const core::Dictionary& CLGSettings::appDictionary() const { return section(m_dictionary, "app"); }
const core::Dictionary& CLGSettings::promptDictionary() const { return section(m_dictionary, "prompt"); }
const core::Dictionary& CLGSettings::settingsDictionary() const { return section(m_dictionary, "settings"); }
const core::Dictionary& CLGSettings::iconDictionary() const { return section(appDictionary(), "icon"); }

bool CLGSettings::isOutdated() const {
    const core::Value* validUntil = settingsDictionary().find("valid_until");
    const double remaining = validUntil && validUntil->asDate()
                                 ? validUntil->asDate()->secondsSince1970 - core::currentDate().secondsSince1970
                                 : 0;
    const core::Value* margin = settingsDictionary().find("cache_duration");
    return remaining <= (margin ? margin->doubleValue() : 0);
}

bool CLGSettings::shouldCollectCrashReports() const {
    const core::UserDefaults& defaults = core::UserDefaults::standard();
    if (defaults.contains(kShouldCollectKey) && !defaults.boolForKey(kShouldCollectKey))
        return false;
    if (!shouldCollectOnPlatform)
        return false;
    const core::Value* collect = settingsDictionary().find("collect_reports");
    return collect ? collect->boolValue() : true;
}

bool CLGSettings::shouldRequestPermissionToSubmit() const {
    return flag(promptDictionary(), "enabled") && !userDesiresReportsAlwaysBeSent();
}

bool CLGSettings::appNeedsOnboarding() const {
    const core::Value* status = appDictionary().find("status");
    return status && status->asString() && *status->asString() == "new";
}

bool CLGSettings::requiresUpdate() const { return flag(appDictionary(), "update_required"); }

std::optional<std::string> CLGSettings::safeURLWithString(const core::Value* text) {
    if (!text || !text->asString())
        return std::nullopt;
    const std::string& url = *text->asString();
    const size_t schemeEnd = url.find("://");
    if (schemeEnd == std::string::npos || schemeEnd == 0 || !std::isalpha(static_cast<unsigned char>(url[0])))
        return std::nullopt;
    for (size_t i = 0; i < schemeEnd; ++i) {
        const char c = url[i];
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return std::nullopt;
    }
    const size_t hostStart = schemeEnd + 3;
    if (hostStart >= url.size() || url[hostStart] == '/' || url[hostStart] == '?' || url[hostStart] == '#')
        return std::nullopt;
    for (const char c : url) {
        if (static_cast<unsigned char>(c) <= ' ' || c == 0x7f)
            return std::nullopt;
    }
    return url;
}

std::optional<std::string> CLGSettings::appURL() const { return safeURLWithString(appDictionary().find("url")); }
std::optional<std::string> CLGSettings::reportsURL() const { return safeURLWithString(appDictionary().find("reports_url")); }
std::optional<std::string> CLGSettings::settingsURL() const { return safeURLWithString(appDictionary().find("settings_url")); }

bool CLGSettings::shouldIncludeInteractiveAlwaysSendOption() const { return flag(promptDictionary(), "show_always_send_button"); }
bool CLGSettings::shouldIncludeInteractiveCancelOption() const { return flag(promptDictionary(), "show_cancel_button"); }
bool CLGSettings::shouldCollectProcesess() const { return flag(settingsDictionary(), "collect_procesess"); }

std::string CLGSettings::promptText(std::string_view settingsKey, std::string_view localizationKey, std::string_view builtIn) const {
    const core::Value* text = promptDictionary().find(settingsKey);
    const std::string fallback = text && text->asString() && !text->asString()->empty() ? *text->asString() : std::string(builtIn);
    return core::Localization::main().localizedString(localizationKey, fallback, "Crashlog");
}

std::string CLGSettings::interactivePromptTitle() const {
    return promptText("title", "CrashlogCrashSubmissionPromptTitle", "Send Crash Report?");
}
std::string CLGSettings::interactivePromptMessage() const {
    return promptText("message", "CrashlogCrashSubmissionPromptMessage",
                      "Looks like we crashed! Please help us fix the problem by sending a crash report.");
}
std::string CLGSettings::interactivePromptSendTitle() const {
    return promptText("send_button_title", "CrashlogCrashSubmissionSendTitle", "Send");
}
std::string CLGSettings::interactivePromptAlwaysSendTitle() const {
    return promptText("always_send_button_title", "CrashlogCrashSubmissionAlwaysSendTitle", "Always Send");
}
std::string CLGSettings::interactivePromptCancelTitle() const {
    return promptText("cancel_button_title", "CrashlogCrashSubmissionCancelTitle", "Don't Send");
}

std::optional<std::string> CLGSettings::iconHash() const {
    const core::Value* hash = iconDictionary().find("hash");
    return hash && hash->asString() ? std::optional<std::string>(*hash->asString()) : std::nullopt;
}

core::Size CLGSettings::iconSize() const {
    const core::Value* width = iconDictionary().find("width");
    const core::Value* height = iconDictionary().find("height");
    if (!width || !height)
        return {};
    return {width->floatValue(), height->floatValue()};
}

bool CLGSettings::iconPrerendered() const { return flag(iconDictionary(), "prerendered"); }

} // namespace zm
