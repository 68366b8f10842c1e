#include "tools/crash-service/CrashService.h"

#include "crashlog/service/CLGHeaderCipher.h"
#include "crashlog/service/CLGServiceKeys.h"
#include "platform/core/Json.h"
#include "platform/core/PropertyList.h"
#include "tools/crash-service/SessionSummary.h"

#include <cctype>

#include <httplib.h>

namespace zm {

namespace {

constexpr const char* kAppsPath = "/spi/v1/platforms/ios/apps/";
// The settings stay valid for a day unless a script says otherwise.
constexpr int64_t kCacheDuration = 86400;

std::optional<core::Bytes> fromHex(const std::string& text) {
    if (text.size() % 2 != 0)
        return std::nullopt;
    core::Bytes bytes;
    for (size_t i = 0; i < text.size(); i += 2) {
        if (!std::isxdigit(static_cast<unsigned char>(text[i])) || !std::isxdigit(static_cast<unsigned char>(text[i + 1])))
            return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// A header the reporter encrypted, in clear text; "" when absent, "(unreadable)" when it does not
// decrypt under the key of this API key and bundle.
std::string decrypted(const httplib::Request& request, const char* header, const std::string& apiKey, const std::string& bundle) {
    if (!request.has_header(header))
        return "";
    const auto bytes = fromHex(request.get_header_value(header));
    const auto text = bytes ? CLGHeaderDecrypt(CLGHeaderKeyWithSeed(apiKey, bundle), *bytes) : std::nullopt;
    return text.value_or("(unreadable)");
}

void answerJson(httplib::Response& response, int status, const core::Value& body) {
    response.status = status;
    response.set_content(core::toJson(body), "application/json");
}

int scriptedStatus(const core::Dictionary& script, int usual) {
    const core::Value* status = script.find("status");
    return status ? status->intValue() : usual;
}

std::string fieldText(const httplib::Request& request, const char* field) {
    return request.has_file(field) ? request.get_file_value(field).content : std::string();
}

// The configure form as the service keeps it.
core::Dictionary formFields(const httplib::Request& request) {
    core::Dictionary fields;
    for (const char* name : {"identifier", "instance_identifier", "name", "build_version", "display_version",
                             "minimum_sdk_version", "built_sdk_version"}) {
        const std::string field = std::string("app[") + name + "]";
        if (request.has_file(field.c_str()))
            fields.set(name, fieldText(request, field.c_str()));
    }
    core::Array slices;
    const auto architectures = request.files.equal_range("app[slices][][arch]");
    const auto uuids = request.files.equal_range("app[slices][][uuid]");
    auto uuid = uuids.first;
    for (auto architecture = architectures.first; architecture != architectures.second; ++architecture) {
        slices.push_back(core::Dictionary{{"arch", architecture->second.content},
                                          {"uuid", uuid != uuids.second ? uuid->second.content : std::string()}});
        if (uuid != uuids.second)
            ++uuid;
    }
    fields.set("slices", std::move(slices));
    if (request.has_file("app[icon][hash]")) {
        fields.set("icon", core::Dictionary{{"hash", fieldText(request, "app[icon][hash]")},
                                            {"prerendered", fieldText(request, "app[icon][prerendered]") == "true"},
                                            {"width", std::atoll(fieldText(request, "app[icon][width]").c_str())},
                                            {"height", std::atoll(fieldText(request, "app[icon][height]").c_str())},
                                            {"bytes", static_cast<int64_t>(fieldText(request, "app[icon][data]").size())}});
    }
    return fields;
}

} // namespace

CrashService::CrashService(CrashServiceStore& store, std::string scheme)
    : m_store(store)
    , m_scheme(std::move(scheme)) {}

void CrashService::script(const std::string& endpoint, core::Dictionary answer, int times) {
    std::lock_guard lock(m_lock);
    m_scripts[endpoint].push_back({std::move(answer), times});
}

core::Dictionary CrashService::nextScript(const std::string& endpoint) {
    std::lock_guard lock(m_lock);
    auto& queue = m_scripts[endpoint];
    if (queue.empty())
        return {};
    Script& next = queue.front();
    core::Dictionary answer = next.answer;
    if (next.remaining > 0 && --next.remaining == 0)
        queue.pop_front();
    return answer;
}

core::Dictionary CrashService::settingsDocument(const std::string& base, const std::string& bundle,
                                                const std::optional<core::Dictionary>& app, const core::Dictionary& script) {
    const std::string appURL = base + kAppsPath + bundle;
    core::Dictionary appSection{{"status", app ? "activated" : "new"},
                                {"update_required", false},
                                {"url", appURL},
                                {"reports_url", appURL + "/reports"},
                                {"settings_url", appURL + "/settings"}};
    if (const core::Value* icon = app ? app->find("icon") : nullptr)
        appSection.set("icon", *icon);
    if (const core::Value* update = script.find("update_required"))
        appSection.set("update_required", update->boolValue());
    core::Dictionary settings{{"collect_reports", true}};
    if (const core::Value* collect = script.find("collect_reports"))
        settings.set("collect_reports", collect->boolValue());
    if (const core::Value* margin = script.find("margin"))
        settings.set("cache_duration", *margin);
    const core::Value* prompt = script.find("prompt");
    const core::Value* duration = script.find("cache_duration");
    return core::Dictionary{{"app", std::move(appSection)},
                            {"prompt", prompt ? *prompt : core::Value(core::Dictionary{{"enabled", false}})},
                            {"settings", std::move(settings)},
                            {"cache_duration", duration ? *duration : core::Value(kCacheDuration)}};
}

bool CrashService::admitted(const httplib::Request& request, httplib::Response& response, const std::string& endpoint) {
    const std::string apiKey = request.get_header_value("X-CRASHLOG-API-KEY");
    int refusal = 0;
    if (request.get_header_value("X-CRASHLOG-DEVELOPER-TOKEN") != kCLGDeveloperToken)
        refusal = 403;
    else if (apiKey.empty())
        refusal = 401;
    if (refusal == 0)
        return true;
    m_store.addRequest({endpoint, request.method, request.target, apiKey, "", "", refusal});
    answerJson(response, refusal, core::Dictionary{{"error", refusal == 403 ? "unknown developer token" : "no API key"}});
    return false;
}

void CrashService::settings(const httplib::Request& request, httplib::Response& response) {
    if (!admitted(request, response, "settings"))
        return;
    const std::string apiKey = request.get_header_value("X-CRASHLOG-API-KEY");
    const std::string bundle = request.matches[1];
    const core::Dictionary script = nextScript("settings");
    const int status = scriptedStatus(script, 200);
    m_store.addRequest({"settings", request.method, request.target, apiKey, decrypted(request, "X-CRASHLOG-D", apiKey, bundle),
                        decrypted(request, "X-CRASHLOG-E", apiKey, bundle), status});
    if (status < 200 || status > 299) {
        answerJson(response, status, core::Dictionary{{"error", "scripted"}});
        return;
    }
    const std::string host = request.get_header_value("Host");
    const core::Dictionary document = settingsDocument(m_scheme + "://" + host, bundle, m_store.app(apiKey, bundle), script);
    const core::Value* format = script.find("content_type");
    const bool propertyList = format ? format->stringValue() == "plist"
                                     : request.get_header_value("Accept").find("application/x-plist") != std::string::npos;
    response.status = status;
    if (propertyList)
        response.set_content(core::toPropertyList(document).value(), "application/x-plist");
    else
        response.set_content(core::toJson(document), "application/json");
}

void CrashService::configure(const httplib::Request& request, httplib::Response& response) {
    if (!admitted(request, response, "configure"))
        return;
    const std::string apiKey = request.get_header_value("X-CRASHLOG-API-KEY");
    const std::string bundle = request.matches[1];
    const int status = scriptedStatus(nextScript("configure"), request.method == "POST" ? 201 : 200);
    m_store.addRequest({"configure", request.method, request.target, apiKey, "", "", status});
    if (status >= 200 && status <= 299)
        m_store.configure(apiKey, bundle, formFields(request));
    answerJson(response, status, core::Dictionary{{"status", status >= 200 && status <= 299 ? "activated" : "refused"}});
}

void CrashService::report(const httplib::Request& request, httplib::Response& response) {
    if (!admitted(request, response, "report"))
        return;
    const std::string apiKey = request.get_header_value("X-CRASHLOG-API-KEY");
    if (!request.has_file("report[file]")) {
        m_store.addRequest({"report", request.method, request.target, apiKey, "", "", 400});
        answerJson(response, 400, core::Dictionary{{"error", "no report[file]"}});
        return;
    }
    const int status = scriptedStatus(nextScript("report"), 201);
    m_store.addRequest({"report", request.method, request.target, apiKey, "", "", status});
    if (status >= 200 && status <= 299) {
        const std::string bytes = request.get_file_value("report[file]").content;
        m_store.addReport({apiKey, request.matches[1], fieldText(request, "report[identifier]"),
                           request.get_header_value("X-CRASHLOG-INVALID-SESSION") == "1", bytes, summarizeSession(bytes)});
    }
    answerJson(response, status, core::Dictionary{{"accepted", status >= 200 && status <= 299}});
}

void CrashService::install(httplib::Server& server) {
    const std::string bundle = "([^/?]+)";
    server.Get(kAppsPath + bundle + "/settings",
               [this](const httplib::Request& request, httplib::Response& response) { settings(request, response); });
    server.Post(kAppsPath + bundle + "/reports",
                [this](const httplib::Request& request, httplib::Response& response) { report(request, response); });
    const auto configuring = [this](const httplib::Request& request, httplib::Response& response) { configure(request, response); };
    server.Post(kAppsPath + bundle, configuring);
    server.Put(kAppsPath + bundle, configuring);
    server.Get("/list", [this](const httplib::Request&, httplib::Response& response) {
        answerJson(response, 200, m_store.listing());
    });
    server.Post("/script", [this](const httplib::Request& request, httplib::Response& response) {
        core::Result<core::Value> parsed = core::parseJson(request.body);
        const core::Value* endpoint = parsed ? parsed->find("endpoint") : nullptr;
        const core::Value* answer = parsed ? parsed->find("answer") : nullptr;
        const core::Value* times = parsed ? parsed->find("times") : nullptr;
        if (!endpoint || !endpoint->asString() || !answer || !answer->asDictionary()) {
            answerJson(response, 400, core::Dictionary{{"error", "name an endpoint and an answer"}});
            return;
        }
        script(*endpoint->asString(), *answer->asDictionary(), times ? times->intValue() : 1);
        answerJson(response, 200, core::Dictionary{{"scripted", *endpoint->asString()}});
    });
}

} // namespace zm
