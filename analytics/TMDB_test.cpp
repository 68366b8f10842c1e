#include "analytics/TMDB.h"

#include "analytics/TMRecords.h"
#include "platform/core/FileLocations.h"
#include "platform/core/Files.h"
#include "platform/core/InfoPlist.h"
#include "analytics/TmClock.h"
#include "platform/core/ManualClock.h"
#include "platform/core/TemporaryFolder.h"

#include <sqlite3.h>
#include <functional>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace zm {
namespace {

class TMDBTest : public ::testing::Test {
protected:
    void SetUp() override {
        core::FileLocations::setShared(core::FileLocations::underRoot(root.path(), previous.resources));
    }
    void TearDown() override { core::FileLocations::setShared(previous); }

    std::shared_ptr<TMEvent> event(const std::string& name) {
        return std::make_shared<TMEvent>("zembrixgames", "Ab3dE6gH",
                                         core::Dictionary{{"sessionId", "S1"}, {"name", name}, {"delta", 2.5}});
    }

    static void execute(TMDB& store, const char* sql) {
        ASSERT_EQ(sqlite3_exec(store.connection(), sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    }

    const core::FileLocations previous = core::FileLocations::shared();
    core::TemporaryFolder root;
    std::shared_ptr<core::ManualClock> clock = std::make_shared<core::ManualClock>();
    ScopedTmClock analyticsClock{clock};
    core::ScopedInfoDictionary bundle{{{"CFBundleIdentifier", "com.zembrix.algebra"}}};
    TMDB store{"zembrixgames", "Ab3dE6gH"};
};

TEST_F(TMDBTest, TheFirstWriteMakesFolderAndFileNamedBySecretAndBundle) {
    const auto folder = root.path() / "Library" / "Application Support";
    TMSession session("zembrixgames", "Ab3dE6gH");
    EXPECT_FALSE(std::filesystem::exists(folder));
    ASSERT_TRUE(session.writeToDatabase(store));
    EXPECT_GT(session.rowId(), 0);
    // SHA-1 of "Ab3dE6gHcom.zembrix.algebra".
    EXPECT_EQ(store.filePath(), folder / "Telemetry_c35d90f8fcebe86c508f9f959079a527e9697278.sqlite");
    EXPECT_TRUE(std::filesystem::exists(store.filePath()));

    const std::string name = store.filePath().filename();
    EXPECT_NE(TMDB("zembrixgames", "other").filePath().filename(), name);
    core::ScopedInfoDictionary otherBundle({{"CFBundleIdentifier", "org.example.game"}});
    EXPECT_NE(TMDB("zembrixgames", "Ab3dE6gH").filePath().filename(), name);
}

TEST_F(TMDBTest, StoredRecordsComeBackInRowOrderWithDefaultsForEmptyColumns) {
    auto first = event("newUser");
    first->setArguments(R"({"a":1})");
    ASSERT_TRUE(first->writeToDatabase(store));
    TMSession session("zembrixgames", "Ab3dE6gH");
    session.setSessionId("S1");
    ASSERT_TRUE(session.writeToDatabase(store));
    execute(store, "INSERT INTO events(sid, name, args, delta_t, unix_t) VALUES('S1', 'iPad', NULL, 1, 5)");
    execute(store, "INSERT INTO events(serial, sid, name, args, delta_t, unix_t) VALUES(1099511627776, 'S2', 'big', '{}', 0, 6)");
    execute(store, "INSERT INTO sessions(sid, os_version, app_version, unix_t) VALUES('S3', NULL, NULL, 7)");

    const auto events = store.events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0]->rowId(), first->rowId());
    EXPECT_EQ(events[0]->name(), "newUser");
    EXPECT_EQ(events[0]->arguments(), R"({"a":1})");
    EXPECT_EQ(events[0]->delta(), 2.5);
    EXPECT_EQ(events[0]->timestamp(), first->timestamp());
    EXPECT_EQ(events[1]->arguments(), "{}") << "a NULL args column";
    EXPECT_EQ(events[2]->rowId(), int64_t{1} << 40) << "serials past 32 bits";

    const auto sessions = store.sessions();
    ASSERT_EQ(sessions.size(), 2u);
    EXPECT_EQ(sessions[0]->sessionId(), "S1");
    EXPECT_EQ(sessions[0]->appVersion(), session.appVersion());
    EXPECT_EQ(sessions[1]->osVersion(), "unknown");
    EXPECT_EQ(sessions[1]->appVersion(), "unknown");

    ASSERT_TRUE(first->deleteFromDatabase(store));
    EXPECT_EQ(store.events().size(), 2u);
}

TEST_F(TMDBTest, AFailedWriteKeepsRowIdZero) {
    ASSERT_TRUE(store.eventReady());
    execute(store, "DROP TABLE events");
    auto lost = event("lost");
    EXPECT_FALSE(lost->writeToDatabase(store));
    EXPECT_EQ(lost->rowId(), 0);
}

TEST_F(TMDBTest, DeviceKeysAreReplacedWholeAndAnEmptySetStillCommits) {
    store.setDeviceKeys({TmDeviceKey("TMID", "A", "sig", true), TmDeviceKey("IDFV", "B")});
    auto keys = store.deviceKeys();
    ASSERT_EQ(keys.size(), 2u);
    const auto canonical = std::find_if(keys.begin(), keys.end(), [](const TmDeviceKey& k) { return k.canonical(); });
    ASSERT_NE(canonical, keys.end());
    EXPECT_EQ(*canonical, TmDeviceKey("TMID", "A"));
    store.setDeviceKeys({});
    EXPECT_TRUE(store.deviceKeys().empty());
    EXPECT_EQ(sqlite3_get_autocommit(store.connection()), 1) << "no transaction left open";
}

TEST_F(TMDBTest, RowsDatedBefore1970OrAfterNowAreCorrupted) {
    const double now = clock->date().secondsSince1970;
    const struct {
        double timestamp;
        bool corrupted;
    } cases[] = {{now, false}, {now - 3600, false}, {now + 1, true}, {-1, true}};
    for (const auto& test : cases) {
        TMDB fresh("zembrixgames", "case");
        auto stamped = event("x");
        stamped->setTimestamp(test.timestamp);
        ASSERT_TRUE(stamped->writeToDatabase(fresh));
        EXPECT_EQ(fresh.isCorrupted(), test.corrupted) << test.timestamp - now;
        ASSERT_TRUE(fresh.remove());
    }
    EXPECT_FALSE(store.isCorrupted()) << "an empty store";
}

TEST_F(TMDBTest, RemovingNeedsTheConnectionToCloseAndClosesEveryStoreOnTheFile) {
    ASSERT_TRUE(event("x")->writeToDatabase(store));
    TMDB other("zembrixgames", "Ab3dE6gH");
    ASSERT_TRUE(other.eventReady());
    sqlite3_stmt* busy = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(store.connection(), "SELECT 1", -1, &busy, nullptr), SQLITE_OK);
    EXPECT_FALSE(store.remove());
    EXPECT_TRUE(std::filesystem::exists(store.filePath()));
    EXPECT_TRUE(store.connection());
    sqlite3_finalize(busy);
    EXPECT_TRUE(store.remove());
    EXPECT_FALSE(std::filesystem::exists(store.filePath()));
    EXPECT_FALSE(other.connection());
}

TEST_F(TMDBTest, TwoProcessesWritingOneFileAtOnceLoseNoRow) {
    ASSERT_TRUE(store.eventReady());
    constexpr int kRows = 300;
    std::vector<pid_t> writers;
    for (int process = 0; process < 2; ++process) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            TMDB own("zembrixgames", "Ab3dE6gH");
            int written = 0;
            for (int i = 0; i < kRows; ++i)
                written += event("row")->writeToDatabase(own);
            own.close();
            _exit(written == kRows ? 0 : 1);
        }
        writers.push_back(pid);
    }
    for (const pid_t pid : writers) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(store.events().size(), 2u * kRows);
}

TEST_F(TMDBTest, ADamagedFileIsSetAsideAndAFreshOneKeepsTheDeviceKey) {
    const struct {
        const char* damage;
        std::function<void(std::string&)> apply;
    } cases[] = {
        {"truncated", [](std::string& bytes) { bytes.resize(bytes.size() / 2); }},
        {"zeroed", [](std::string& bytes) { std::fill(bytes.begin(), bytes.end(), '\0'); }},
        {"random", [](std::string& bytes) {
             std::mt19937 random(7);
             for (char& byte : bytes)
                 byte = static_cast<char>(random());
         }},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.damage);
        TMDB original("zembrixgames", test.damage);
        original.setDeviceKeys({TmDeviceKey("TMID", "KEPT", "", true)});
        // Enough rows that the device key's page comes first and the events' pages after it.
        for (int i = 0; i < 200; ++i)
            ASSERT_TRUE(event("e" + std::to_string(i))->writeToDatabase(original));
        const auto path = original.filePath();
        ASSERT_TRUE(original.close());
        sqlite3* connection = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &connection), SQLITE_OK);
        sqlite3_exec(connection, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
        sqlite3_close(connection);
        auto bytes = core::readFile(path).value();
        test.apply(bytes);
        ASSERT_TRUE(core::writeFileAtomically(path, bytes));

        TMDB reopened("zembrixgames", test.damage);
        auto fresh = event("fresh");
        ASSERT_TRUE(fresh->writeToDatabase(reopened)) << "a fresh store takes new records";
        EXPECT_EQ(reopened.events().size(), 1u);
        auto aside = path;
        aside += ".unreadable";
        ASSERT_TRUE(std::filesystem::exists(aside));
        EXPECT_EQ(core::readFile(aside).value(), bytes) << "the damaged file is kept as it was";
        if (std::string(test.damage) == "truncated") {
            EXPECT_EQ(reopened.deviceKeys(), (std::vector<TmDeviceKey>{TmDeviceKey("TMID", "KEPT")}));
        }
    }
}

} // namespace
} // namespace zm
