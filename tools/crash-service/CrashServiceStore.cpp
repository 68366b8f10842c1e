#include "tools/crash-service/CrashServiceStore.h"

#include "platform/core/Json.h"

namespace zm {

namespace {

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS apps (api_key TEXT NOT NULL, bundle TEXT NOT NULL, fields TEXT NOT NULL,
    configurations INTEGER NOT NULL, UNIQUE (api_key, bundle));
CREATE TABLE IF NOT EXISTS requests (serial INTEGER PRIMARY KEY, endpoint TEXT, method TEXT, target TEXT,
    api_key TEXT, identification TEXT, events TEXT, status INTEGER);
CREATE TABLE IF NOT EXISTS reports (serial INTEGER PRIMARY KEY, api_key TEXT, bundle TEXT, identifier TEXT,
    invalid INTEGER, size INTEGER, summary TEXT, bytes BLOB);
)";

core::Value jsonValue(const std::string& text) {
    core::Result<core::Value> parsed = core::parseJson(text);
    return parsed ? std::move(parsed.value()) : core::Value();
}

} // namespace

core::Result<std::unique_ptr<CrashServiceStore>> CrashServiceStore::open(const std::string& path) {
    auto database = openServiceDatabase("crash-service", path, kSchema);
    if (!database)
        return database.error();
    return std::unique_ptr<CrashServiceStore>(new CrashServiceStore(std::move(database).value()));
}

CrashServiceStore::CrashServiceStore(ServiceDatabase database)
    : m_database(std::move(database)) {}

CrashServiceStore::~CrashServiceStore() = default;

std::optional<core::Dictionary> CrashServiceStore::app(const std::string& apiKey, const std::string& bundle) {
    std::lock_guard lock(m_lock);
    ServiceStatement select(m_database, "SELECT fields FROM apps WHERE api_key = ? AND bundle = ?");
    select.bind(1, apiKey).bind(2, bundle);
    if (!select.step())
        return std::nullopt;
    const core::Value fields = jsonValue(select.text(0));
    return fields.asDictionary() ? *fields.asDictionary() : core::Dictionary();
}

void CrashServiceStore::configure(const std::string& apiKey, const std::string& bundle, const core::Dictionary& fields) {
    std::lock_guard lock(m_lock);
    ServiceStatement upsert(m_database, "INSERT INTO apps (api_key, bundle, fields, configurations) VALUES (?, ?, ?, 1) "
                                   "ON CONFLICT (api_key, bundle) DO UPDATE SET fields = excluded.fields, "
                                   "configurations = configurations + 1");
    upsert.bind(1, apiKey).bind(2, bundle).bind(3, core::toJson(fields)).step();
}

void CrashServiceStore::addRequest(const Request& request) {
    std::lock_guard lock(m_lock);
    ServiceStatement insert(m_database, "INSERT INTO requests (endpoint, method, target, api_key, identification, events, status) "
                                   "VALUES (?, ?, ?, ?, ?, ?, ?)");
    insert.bind(1, request.endpoint).bind(2, request.method).bind(3, request.target).bind(4, request.apiKey);
    insert.bind(5, request.identification).bind(6, request.events).bind(7, static_cast<int64_t>(request.status)).step();
}

void CrashServiceStore::addReport(const Report& report) {
    std::lock_guard lock(m_lock);
    ServiceStatement insert(m_database, "INSERT INTO reports (api_key, bundle, identifier, invalid, size, summary, bytes) "
                                   "VALUES (?, ?, ?, ?, ?, ?, ?)");
    insert.bind(1, report.apiKey).bind(2, report.bundle).bind(3, report.identifier).bind(4, int64_t{report.invalid});
    insert.bind(5, static_cast<int64_t>(report.bytes.size()));
    insert.bind(6, report.summary ? core::toJson(*report.summary) : std::string()).bindBlob(7, report.bytes).step();
}

core::Value CrashServiceStore::listing() {
    std::lock_guard lock(m_lock);
    core::Array apps;
    ServiceStatement selectApps(m_database, "SELECT api_key, bundle, fields, configurations FROM apps ORDER BY rowid");
    while (selectApps.step())
        apps.push_back(core::Dictionary{{"api_key", selectApps.text(0)},
                                        {"bundle", selectApps.text(1)},
                                        {"fields", jsonValue(selectApps.text(2))},
                                        {"configurations", selectApps.integer(3)}});
    core::Array requests;
    ServiceStatement selectRequests(m_database, "SELECT endpoint, method, target, api_key, identification, events, status "
                                           "FROM requests ORDER BY serial");
    while (selectRequests.step())
        requests.push_back(core::Dictionary{{"endpoint", selectRequests.text(0)},
                                            {"method", selectRequests.text(1)},
                                            {"target", selectRequests.text(2)},
                                            {"api_key", selectRequests.text(3)},
                                            {"identification", selectRequests.text(4)},
                                            {"events", selectRequests.text(5)},
                                            {"status", selectRequests.integer(6)}});
    core::Array reports;
    ServiceStatement selectReports(m_database, "SELECT api_key, bundle, identifier, invalid, size, summary FROM reports ORDER BY serial");
    while (selectReports.step()) {
        core::Dictionary report{{"api_key", selectReports.text(0)},
                                {"bundle", selectReports.text(1)},
                                {"identifier", selectReports.text(2)},
                                {"invalid", selectReports.integer(3) != 0},
                                {"size", selectReports.integer(4)}};
        if (const std::string summary = selectReports.text(5); !summary.empty())
            report.set("session", jsonValue(summary));
        reports.push_back(std::move(report));
    }
    return core::Dictionary{{"apps", std::move(apps)}, {"requests", std::move(requests)}, {"reports", std::move(reports)}};
}

} // namespace zm
