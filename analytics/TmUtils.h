#pragma once

#include "platform/core/Encoding.h"
#include "platform/core/Value.h"

#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace zm {

// What the analytics client asks of the device, the system and the application bundle, and the rules
// every request to the analytics service follows. Stateless; any thread.
class TmUtils {
public:
    // "none", "wifi" or "wwan".
    static std::string connectionType();
    // Whether the analytics service could be reached: a host is named and a network is up.
    static bool connected();

    // The bundle's name ("CFBundleName", else "CFBundleDisplayName", else the identifier's part after
    // its last dot, else "Unknown"), version ("CFBundleShortVersionString", else "CFBundleVersion",
    // else "Unknown") and identifier.
    static std::string applicationName();
    static std::string applicationVersion();
    static std::string applicationBundleId();
    // The last scheme of the last URL type, and every scheme of every URL type in order.
    static std::optional<std::string> urlScheme();
    static std::vector<std::string> schemes();
    // The hardware name ("hw.machine").
    static std::string deviceType();
    // The system's version.
    static std::string systemVersion();

    // UTF-8 percent escapes of everything but ASCII letters, digits and "-._~".
    static std::string createUrlencode(std::string_view text);

    // The device's MAC address and the identifiers made from it; hasMAC is false without one or for
    // the placeholder 02:00:00:00:00:00 that systems report when they hide the real address.
    static std::optional<core::Bytes> MAC();
    static bool hasMAC();
    static std::string MAC5();
    static std::string MAC1();
    static std::string ODIN();
    // Advertising and vendor identifiers: nothing when missing, empty or all zeros.
    static bool hasAdSupportFramework();
    static std::optional<std::string> IDFA();
    static bool hasIDFA();
    static bool doNotTrack();
    static std::optional<std::string> IDFV();
    static bool hasIDFV();

    static core::Bytes getMD5(std::string_view bytes);
    static core::Bytes getSHA1(std::string_view bytes);
    static std::string getMD5Hex(std::string_view bytes);
    static std::string getSHA1Hex(std::string_view bytes);

    // Standard base64 with "=" filling, no line breaks.
    static std::string base64Encode(std::string_view bytes);
    // Line feeds are ignored; nothing for fewer than four characters or text that is not base64.
    static std::optional<core::Bytes> base64Decode(std::string_view text);

    // Named pasteboards that outlive the program.
    static void setPasteboard(std::string_view name, std::string_view text);
    static std::optional<std::string> stringFromPasteboard(std::string_view name);
    // The kit's own pasteboard for the attribution id: "com.telemetry.fbAppAttrId." + SHA-1 hex of the
    // SHA-1 hex of (secret + bundle identifier).
    static std::string attributionPasteboardName(std::string_view secret);
};

// A query under the common request rules: "?a=" with the URL-encoded account key, then "&key=value"
// parts in the order they are added.
class TmQuery {
public:
    explicit TmQuery(std::string_view account);

    // Appends the value as it is.
    TmQuery& add(std::string_view key, std::string_view value);
    // Appends the value URL-encoded.
    TmQuery& addEncoded(std::string_view key, std::string_view value);
    // Appends a literal part as it is ("&dnt=-1").
    TmQuery& addPart(std::string_view part);

    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

// The analytics service and the requests made to it.
class TmService {
public:
    // The service's host and port ("127.0.0.1:8080"), as ZEMBRIX_TELEMETRY_HOST names it; nothing when
    // unset or when it names more than a host and port. Without one no request is ever made.
    static std::optional<std::string> host();
    // Replaces the host (tests: the service they started); nothing sends nowhere.
    static void setHost(std::optional<std::string> host);

    // h: the SHA-1 of the secret followed by the whole query, "?" included, in lower-case hexadecimal.
    static std::string signature(std::string_view secret, const TmQuery& query);
    // "http://HOST/api/v1ENDPOINT?QUERY&h=SIGNATURE".
    static std::string url(std::string_view host, std::string_view endpoint, const TmQuery& query,
                           std::string_view secret);
    // A signed GET of the endpoint ("/start", "/resolve", "/event") on the calling thread: the answer's
    // property-list dictionary, or nothing when there is no host, no answer or an unreadable one. A
    // refusal of the request itself (an HTTP 4xx status without a dictionary) is a refusal, not silence.
    static std::optional<core::Dictionary> get(std::string_view endpoint, const TmQuery& query, std::string_view secret);
    // Whether the answer's "status" is "ok".
    static bool isOK(const core::Dictionary& answer);
    // Logs that the service refused `what` ("event \"level\"") with `answer`, which is then dropped.
    static void logRefusal(const std::string& what, const core::Dictionary& answer);

    // While it lives, the requests the calling thread makes are given up (as no answer) as soon as
    // `stop` is requested, even while they wait for the service.
    class StopScope {
    public:
        explicit StopScope(std::stop_token stop);
        ~StopScope();
        StopScope(const StopScope&) = delete;
        StopScope& operator=(const StopScope&) = delete;

    private:
        std::stop_token m_previous;
    };
};

} // namespace zm
