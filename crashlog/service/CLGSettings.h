#pragma once

#include "platform/core/Geometry.h"
#include "platform/core/Value.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zm {

// The crash service's settings for this installation, as cached in "settings.plist": whether the
// application must be registered first, where reports go, whether they are collected, and whether the
// user is asked before one is sent. A read-only view over the cached document plus two user-defaults
// switches.
//
// Thread safety: an object never changes and may be read from any thread.
class CLGSettings {
public:
    static constexpr std::string_view kAlwaysSendKey = "CrashlogAlwaysSendCrashReports";
    static constexpr std::string_view kShouldCollectKey = "CrashlogShouldCollectCrashReports";
    // The validity of a document that names none: seven days.
    static constexpr double kDefaultValidity = 604800.0;

    // Caches the service's settings `document` at `path`, its "settings" section gaining "valid_until"
    // (now + the top-level "cache_duration", or seven days when that is absent or 0). False (logged)
    // when there is no document or it cannot be written as a property list.
    static bool writeSettings(const core::Dictionary* document, const std::filesystem::path& path);

    // The user chose to always send reports (user defaults).
    static bool userDesiresReportsAlwaysBeSent();
    static void setUserDesiresReportsAlwaysBeSent(bool always);

    // The cached document at `path`; nothing when it cannot be read as a dictionary.
    static std::unique_ptr<CLGSettings> initWithCachePath(const std::filesystem::path& path);

    const std::filesystem::path& cachePath() const { return m_cachePath; }
    const core::Dictionary& dictionary() const { return m_dictionary; }
    const core::Dictionary& appDictionary() const;
    const core::Dictionary& promptDictionary() const;
    const core::Dictionary& settingsDictionary() const;
    const core::Dictionary& iconDictionary() const;

    // Fewer seconds remain until "valid_until" than the section's own "cache_duration" margin.
    bool isOutdated() const;
    bool shouldCollectCrashReports() const;
    bool shouldRequestPermissionToSubmit() const;
    bool appNeedsOnboarding() const;
    bool requiresUpdate() const;

    // The URLs, nothing when absent or malformed.
    std::optional<std::string> appURL() const;
    std::optional<std::string> reportsURL() const;
    std::optional<std::string> settingsURL() const;

    bool shouldIncludeInteractiveAlwaysSendOption() const;
    bool shouldIncludeInteractiveCancelOption() const;
    bool shouldCollectProcesess() const;

    // The alert's texts: the application's "Crashlog" strings table first, then the service's text,
    // then a built-in English text.
    std::string interactivePromptTitle() const;
    std::string interactivePromptMessage() const;
    std::string interactivePromptSendTitle() const;
    std::string interactivePromptAlwaysSendTitle() const;
    std::string interactivePromptCancelTitle() const;

    std::optional<std::string> iconHash() const;
    // Width and height; (0, 0) unless both are given.
    core::Size iconSize() const;
    bool iconPrerendered() const;

    static constexpr size_t logBufferSize = 0;
    static constexpr size_t maxCustomKeyValuePairs = 0;
    static constexpr bool shouldSubmitSynchronously = false;
    static constexpr bool shouldCollectOnPlatform = true;

    // An absolute URL with a scheme and a host, free of blanks and control characters; nothing else.
    static std::optional<std::string> safeURLWithString(const core::Value* text);

private:
    CLGSettings(std::filesystem::path cachePath, core::Dictionary dictionary);

    const core::Dictionary& section(const core::Dictionary& within, std::string_view name) const;
    bool flag(const core::Dictionary& within, std::string_view key) const;
    std::string promptText(std::string_view settingsKey, std::string_view localizationKey, std::string_view builtIn) const;

    const std::filesystem::path m_cachePath;
    const core::Dictionary m_dictionary;
};

} // namespace zm
