// links: analytics
// Analytics: how many events a second reach the store while the event thread drains its queue, what
// one event costs the thread that records it, and, beside them (no analytics client is packaged for
// Debian), plain SQLite inserting the same rows in one transaction (the floor) and nlohmann-json
// encoding the same arguments as the client's own JSON text.

#include "analytics/TMDB.h"
#include "analytics/TMEventThread.h"
#include "analytics/TMJSON.h"
#include "analytics/TMRecords.h"
#include "analytics/Telemetry.h"
#include "analytics/TmUtils.h"
#include "platform/core/FileLocations.h"
#include "platform/core/TemporaryFolder.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>

namespace {

using namespace zm;

constexpr const char* kAccount = "zembrixgames";
constexpr const char* kSecret = "Ab3dE6gH";

// A data root of its own; nothing is sent (no service is named).
struct Installation {
    Installation() {
        core::FileLocations::setShared(core::FileLocations::underRoot(folder.path(), previous.resources));
        TmService::setHost(std::nullopt);
    }
    ~Installation() { core::FileLocations::setShared(previous); }

    const core::FileLocations previous = core::FileLocations::shared();
    core::TemporaryFolder folder;
};

const core::Dictionary& arguments() {
    static const core::Dictionary values{{"topic", "AlgebraTopicEquations"}, {"level", 3},
                                         {"solved", true},                 {"time", 12.75},
                                         {"path", "home/topics/equations"}};
    return values;
}

// The last row written (rows are only added while it runs).
int64_t storedEvents(sqlite3* reader) {
    sqlite3_stmt* count = nullptr;
    int64_t rows = 0;
    if (sqlite3_prepare_v2(reader, "SELECT max(serial) FROM events", -1, &count, nullptr) == SQLITE_OK &&
        sqlite3_step(count) == SQLITE_ROW)
        rows = sqlite3_column_int64(count, 0);
    sqlite3_finalize(count);
    return rows;
}

// Events pushed onto the event thread's queue, timed until the last is in the store.
void BM_EventsIntoStore(benchmark::State& state) {
    const int events = static_cast<int>(state.range(0));
    Installation installation;
    for (auto _ : state) {
        state.PauseTiming();
        auto store = std::make_shared<TMDB>(kAccount, kSecret);
        store->eventReady();
        sqlite3* reader = nullptr;
        sqlite3_open(store->filePath().c_str(), &reader);
        const int64_t before = storedEvents(reader);
        auto thread = std::make_unique<TMEventThread>(store);
        thread->start();
        const std::string text = TMJSONStringFromObject(arguments());
        std::vector<std::shared_ptr<TMSAPI>> records;
        for (int i = 0; i < events; ++i)
            records.push_back(std::make_shared<TMEvent>(
                kAccount, kSecret,
                core::Dictionary{{"sessionId", "S"}, {"name", "level"}, {"delta", 1.0 * i}, {"arguments", text}}));
        state.ResumeTiming();
        for (auto& record : records)
            thread->eventQueue().push(std::move(record));
        while (storedEvents(reader) < before + events)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        state.PauseTiming();
        sqlite3_close(reader);
        thread.reset();
        store->remove(); // the next run starts with nothing to read back
        state.ResumeTiming();
    }
    state.counters["events/s"] = benchmark::Counter(static_cast<double>(events) * state.iterations(),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EventsIntoStore)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same rows through plain SQLite in one transaction: the floor.
void BM_SqliteFloor(benchmark::State& state) {
    const int events = static_cast<int>(state.range(0));
    Installation installation;
    sqlite3* db = nullptr;
    sqlite3_open((installation.folder.path() / "floor.sqlite").c_str(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; CREATE TABLE events (serial INTEGER PRIMARY "
                     "KEY, sid VARCHAR(255) NOT NULL, name VARCHAR(32) NOT NULL, args TEXT, delta_t FLOAT, unix_t "
                     "FLOAT NOT NULL)",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO events(sid, name, args, delta_t, unix_t) VALUES(?, ?, ?, ?, ?)", -1, &insert,
                       nullptr);
    const std::string text = TMJSONStringFromObject(arguments());
    for (auto _ : state) {
        sqlite3_exec(db, "BEGIN TRANSACTION", nullptr, nullptr, nullptr);
        for (int i = 0; i < events; ++i) {
            sqlite3_bind_text(insert, 1, "S", -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, "level", -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 3, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
            sqlite3_bind_double(insert, 4, i);
            sqlite3_bind_double(insert, 5, 1.7e9);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_exec(db, "COMMIT TRANSACTION", nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(insert);
    sqlite3_close(db);
    state.counters["events/s"] = benchmark::Counter(static_cast<double>(events) * state.iterations(),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SqliteFloor)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// What one event costs the thread that records it, with the facade's threads running: events come
// in bursts of 500, the event thread storing each burst (untimed) before the next, as a game records a
// few at a time. A flood waits for the store (BM_EventsIntoStore gives that rate).
void BM_EventCall(benchmark::State& state) {
    constexpr int kBurst = 500;
    Installation installation;
    Telemetry::reset();
    Telemetry::startSession(kAccount, kSecret);
    sqlite3* reader = nullptr;
    sqlite3_open(TMDB(kAccount, kSecret).filePath().c_str(), &reader);
    int64_t recorded = 0;
    for (auto _ : state) {
        Telemetry::event("level", &arguments());
        if (++recorded % kBurst == 0) {
            state.PauseTiming();
            while (storedEvents(reader) < recorded)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            state.ResumeTiming();
        }
    }
    sqlite3_close(reader);
    Telemetry::reset();
}
BENCHMARK(BM_EventCall)->Iterations(100000)->Unit(benchmark::kMicrosecond);

// Resident memory of the process, in bytes ("VmRSS" or "VmHWM" of /proc/self/status).
double residentBytes(const char* field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field))
            return std::stod(line.substr(std::strlen(field) + 1)) * 1024;
    }
    return 0;
}

// Events recorded while the service cannot be reached (its port is closed): how much more the process
// holds once they are all in the store. Run each size in a process of its own (--benchmark_filter).
void BM_EventsWhileTheServiceIsDown(benchmark::State& state) {
    const int events = static_cast<int>(state.range(0));
    Installation installation;
    for (auto _ : state) {
        Telemetry::reset();
        TmService::setHost("127.0.0.1:1");
        Telemetry::startSession(kAccount, kSecret);
        TMDB reader(kAccount, kSecret);
        while (reader.sessions().empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const double before = residentBytes("VmRSS:");
        for (int i = 0; i < events; ++i) {
            const core::Dictionary numbered{{"level", i}, {"topic", "AlgebraTopicEquations"}};
            Telemetry::event("level", &numbered);
        }
        sqlite3* counter = nullptr;
        sqlite3_open(reader.filePath().c_str(), &counter);
        while (storedEvents(counter) < events)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        sqlite3_close(counter);
        state.counters["held MB"] = (residentBytes("VmRSS:") - before) / 1e6;
        state.counters["peak MB"] = residentBytes("VmHWM:") / 1e6;
        Telemetry::reset();
    }
}
BENCHMARK(BM_EventsWhileTheServiceIsDown)->Arg(0)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_TMJSON(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(TMJSONStringFromObject(arguments()));
}
BENCHMARK(BM_TMJSON);

void BM_NlohmannJson(benchmark::State& state) {
    // The same arguments, held as nlohmann-json's own value.
    const nlohmann::ordered_json json = {{"topic", "AlgebraTopicEquations"}, {"level", 3}, {"solved", true},
                                         {"time", 12.75}, {"path", "home/topics/equations"}};
    for (auto _ : state)
        benchmark::DoNotOptimize(json.dump());
}
BENCHMARK(BM_NlohmannJson);

} // namespace
