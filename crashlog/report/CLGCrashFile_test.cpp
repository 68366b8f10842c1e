#include "crashlog/crashlog.pb-c.h"
#include "crashlog/report/CLGCrashFile.h"
#include "crashlog/testing/Crasher.h"
#include "crashlog/testing/RecordFixture.h"
#include "crashlog/testing/Sanitizers.h"
#include "platform/core/Digest.h"
#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>
#include <memory>
#include <string_view>

namespace zm {
namespace {

using Session = Crashlog__Session;
using SessionPointer = std::unique_ptr<Session, void (*)(Session*)>;

std::string_view text(const char* value) {
    return value ? std::string_view(value) : std::string_view("<absent>");
}
std::string_view text(const ProtobufCBinaryData& bytes) {
    return {reinterpret_cast<const char*>(bytes.data), bytes.len};
}

constexpr uint64_t kHighBase = 0x7f12'3456'0000;

// A record with every line filled as a crash would fill it, addresses above 4 GiB included.
testing::RecordFixture fullRecord() {
    auto record = testing::RecordFixture::standard();
    record.replace("signal", [](CLGRecordWriter& w) {
        w.numberMember("number", 11);
        w.numberMember("code", 1);
        w.numberMember("address", kHighBase + 0x10);
        w.stringMember("name", "SIGSEGV");
        w.stringMember("code_name", "SEGV_MAPERR");
        w.booleanMember("preexisting_handlers", false);
        w.numberMember("errno", 0);
    });
    record.replace("identity", [](CLGRecordWriter& w) {
        w.stringMember("generator", "Crashlog iOS SDK/2.1.3");
        w.stringMember("api_key", "0123456789abcdef0123456789abcdef01234567");
        w.stringMember("identifier", "6553F10000FA-0001-1234-61626364-6566");
        w.numberMember("started_at", 1700000000);
        w.numberMember("ended_at", 5000000000);
        w.stringMember("device_id", "DEVICE");
        w.stringMember("vendor_id", "VENDOR");
        w.stringMember("advertising_id", "ADVERTISING");
        w.stringMember("install_id", "INSTALL%20ID");
        w.stringMember("en0_mac_address", "0242ac11000b");
    });
    record.replace("process_info", [](CLGRecordWriter& w) {
        w.numberMember("pid", 4321);
        w.stringMember("name", "zembrix");
        w.numberMember("parent_pid", 1);
        w.stringMember("parent_name", "systemd");
        w.booleanMember("debugger", true);
    });
    record.replaceArray("external_process_info", [](CLGRecordWriter& w) {
        w.beginObject();
        w.numberMember("pid", 7);
        w.stringMember("name", "bash");
        w.endObject();
    });
    record.replace("host", [](CLGRecordWriter& w) {
        w.stringMember("model", "x86_64");
        w.stringMember("machine", "Board");
        w.stringMember("locale", "de_DE");
        w.stringMember("os_build", "#1 SMP");
        w.stringMember("os_version", "6.1.0");
        w.stringMember("platform", "iOS");
        w.numberMember("platform_code", 1);
        w.numberMember("cores", 8);
        w.booleanMember("vendor_internal", true);
        w.numberMember("device_orientation", 3);
        w.numberMember("ui_orientation", 4);
        w.stringMember("battery_level", "0.750000");
        w.numberMember("charging_state", static_cast<uint64_t>(-1));
        w.booleanMember("proximity_on", true);
        w.booleanMember("is_backgrounded", true);
    });
    record.replace("executable", [](CLGRecordWriter& w) {
        w.stringMember("path", "/usr/games/zembrix");
        w.stringMember("uuid", "AABBCCDDEEFF00112233445566778899");
        w.numberMember("address", kHighBase);
        w.numberMember("size", 0x1000);
        w.stringMember("bundle_id", "com.zembrix.algebra");
        w.stringMember("version", "1");
        w.stringMember("display_version", "0.1");
        w.stringMember("architecture", "x86_64");
        w.stringMember("uuids", "aabbccddeeff00112233445566778899");
        w.stringMember("archs", "x86_64");
        w.stringMember("dev_platform", "Qt%205");
        w.stringMember("dev_platform_version", "5.15");
    });
    record.replaceArray("binary_images", [](CLGRecordWriter& w) {
        w.beginObject();
        w.stringMember("path", "/usr/games/zembrix");
        w.stringMember("uuid", "AABBCCDDEEFF00112233445566778899");
        w.numberMember("address", kHighBase);
        w.numberMember("size", 0x1000);
        w.endObject();
    });
    record.replace("exception", [](CLGRecordWriter& w) {
        w.stringMember("name", "std::runtime_error");
        w.stringMember("reason", "no%20room");
        w.key("backtrace");
        w.beginArray();
        w.beginObject();
        w.numberMember("address", kHighBase + 0x20);
        w.endObject();
        w.endArray();
    });
    record.replaceLine("threads", [](CLGRecordWriter& w) {
        w.beginLine("threads");
        w.beginArray();
        for (uint64_t address : {kHighBase + 0x30, kHighBase + 0x40}) {
            w.beginArray();
            w.beginObject();
            w.numberMember("address", address);
            w.endObject();
            w.endArray();
        }
        w.endArray();
        w.numberMember("crashed_thread", 1);
        w.numberMember("thread_count", 2);
        w.endLine();
    });
    record.replace("process_stats", [](CLGRecordWriter& w) {
        w.numberMember("active", 3ull << 30);
        w.numberMember("inactive", 2ull << 30);
        w.numberMember("wired", 1ull << 30);
        w.numberMember("freeMem", 4ull << 30);
    });
    record.replaceArray("thread_names", [](CLGRecordWriter& w) {
        w.stringElement("crashlog-crashe");
        w.stringElement("");
    });
    record.replaceArray("dispatch_queue_names", [](CLGRecordWriter& w) {
        w.stringElement("");
        w.stringElement("com.crashlog.context-queue");
    });
    record.replace("storage", [](CLGRecordWriter& w) {
        w.numberMember("free", 100ull << 30);
        w.numberMember("total", 500ull << 30);
    });
    record.replace("user", [](CLGRecordWriter& w) {
        w.stringMember("name", "Ada%20L");
        w.stringMember("id", "42");
        w.stringMember("email", "ada%40example.org");
    });
    record.replace("log", [](CLGRecordWriter& w) { w.numberMember("last_offset", 2); });
    record.replace("custom_attributes", [](CLGRecordWriter& w) {
        w.stringMember("level", "7%20of%209");
        w.stringMember("broken", "%E9");
    });
    return record;
}

class CLGCrashFileTest : public ::testing::Test {
protected:
    std::filesystem::path recordPath() const { return m_folder.path() / "6553f10000fa0001123461626364.clgrecord"; }
    std::filesystem::path reportPath() const { return m_folder.path() / "6553f10000fa0001123461626364.clg"; }

    // The record written, converted (after symbolication with `map`) and read back.
    SessionPointer convert(const testing::RecordFixture& record, const CLGUUIDMapping& map = {}) {
        record.write(recordPath());
        CLGCrashFile file(recordPath());
        file.symbolicateWithUUIDMap(map);
        if (!file.writeCLSFileToPath(reportPath()))
            return {nullptr, free};
        return unpack(reportPath());
    }

    static SessionPointer unpack(const std::filesystem::path& path) {
        const std::string bytes = core::readFile(path).value();
        Session* session =
            crashlog__session__unpack(nullptr, bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data()));
        return {session, [](Session* s) { crashlog__session__free_unpacked(s, nullptr); }};
    }
    static void free(Session*) {}

    core::TemporaryFolder m_folder;
};

TEST_F(CLGCrashFileTest, ConvertsEveryLineOfTheRecordIntoItsSessionField) {
    ASSERT_TRUE(core::writeFileAtomically(m_folder.path() / "6553f10000fa0001123461626364.clglog", "abcdef").ok());
    const SessionPointer session = convert(fullRecord());
    ASSERT_TRUE(session);

    EXPECT_EQ(text(session->generator), "Crashlog iOS SDK/2.1.3");
    ASSERT_TRUE(session->has_generator_type);
    EXPECT_EQ(session->generator_type, CRASHLOG__GENERATOR_TYPE__IOS_SDK);
    EXPECT_EQ(text(session->identifier), "6553f10000fa00011234616263646566");
    EXPECT_EQ(session->started_at, 1700000000u);
    EXPECT_EQ(session->ended_at, 5000000000u);
    EXPECT_TRUE(session->has_crashed && session->crashed);

    ASSERT_TRUE(session->user);
    EXPECT_EQ(text(session->user->identifier), "42");
    EXPECT_EQ(text(session->user->name), "Ada L");
    EXPECT_EQ(text(session->user->email), "ada@example.org");

    const auto* app = session->app;
    EXPECT_EQ(text(app->identifier), "com.zembrix.algebra");
    EXPECT_EQ(text(app->version), "1");
    EXPECT_EQ(text(app->display_version), "0.1");
    EXPECT_EQ(text(app->installation_uuid), "INSTALL ID");
    EXPECT_EQ(text(app->development_platform), "Qt 5");
    EXPECT_EQ(text(app->development_platform_version), "5.15");
    EXPECT_EQ(text(app->process->path), "/usr/games/zembrix");
    EXPECT_EQ(text(app->process->name), "zembrix");
    EXPECT_EQ(app->process->pid, 4321u);
    EXPECT_EQ(app->process->parent_process_id, 1u);
    EXPECT_EQ(text(app->process->parent_process_name), "systemd");
    EXPECT_EQ(text(app->organization->api_key), "0123456789abcdef0123456789abcdef01234567");

    EXPECT_EQ(session->os->platform, CRASHLOG__PLATFORM__IPHONE_OS);
    EXPECT_EQ(text(session->os->version), "6.1.0");
    EXPECT_EQ(text(session->os->build_version), "#1 SMP");

    const auto* device = session->device;
    EXPECT_EQ(device->arch, CRASHLOG__ARCHITECTURE__X86_64);
    EXPECT_EQ(text(device->model), "x86_64");
    EXPECT_EQ(device->cores, 8u);
    EXPECT_EQ(text(device->language), "de_DE");
    EXPECT_FALSE(device->simulator);
    EXPECT_EQ(device->state, 0x14u);
    EXPECT_EQ(device->ram, 10ull << 30);
    EXPECT_EQ(device->disk_space, 500ull << 30);
    EXPECT_EQ(text(device->identifier), core::sha1Hex("0123456789abcdef0123456789abcdef01234567DEVICE"));
    EXPECT_EQ(text(device->udid), "DEVICE");
    ASSERT_EQ(device->n_identifiers, 4u);
    std::map<int, std::string> identifiers;
    for (size_t i = 0; i < device->n_identifiers; ++i)
        identifiers[device->identifiers[i]->key] = device->identifiers[i]->value;
    EXPECT_EQ(identifiers, (std::map<int, std::string>{{CRASHLOG__DEVICE_IDENTIFIER_TYPE__IOS_UDID, "DEVICE"},
                                                       {CRASHLOG__DEVICE_IDENTIFIER_TYPE__IOS_VENDOR_IDENTIFIER, "VENDOR"},
                                                       {CRASHLOG__DEVICE_IDENTIFIER_TYPE__IOS_ADVERTISING_IDENTIFIER, "ADVERTISING"},
                                                       {CRASHLOG__DEVICE_IDENTIFIER_TYPE__WIFI_MAC_ADDRESS, "0242ac11000b"}}));

    ASSERT_EQ(session->n_events, 1u);
    const auto* event = session->events[0];
    EXPECT_EQ(event->timestamp, 5000000000u);
    EXPECT_EQ(text(event->type), "crash");
    EXPECT_FLOAT_EQ(event->device->battery_level, 0.75f);
    EXPECT_EQ(event->device->battery_velocity, -1);
    EXPECT_EQ(event->device->orientation, 3u);
    EXPECT_TRUE(event->device->proximity_on);
    EXPECT_EQ(event->device->ram_used, 6ull << 30);
    EXPECT_EQ(event->device->disk_used, 400ull << 30);
    ASSERT_EQ(event->os->n_processes, 1u);
    EXPECT_EQ(text(event->os->processes[0]->name), "bash");
    EXPECT_EQ(event->os->processes[0]->pid, 7u);
    EXPECT_EQ(event->os->n_network_interfaces, 0u);
    EXPECT_TRUE(event->app->background);
    EXPECT_EQ(event->app->ui_orientation, 4u);
    // The value that does not unescape is left out.
    ASSERT_EQ(event->app->n_custom_attributes, 1u);
    EXPECT_EQ(text(event->app->custom_attributes[0]->key), "level");
    EXPECT_EQ(text(event->app->custom_attributes[0]->value), "7 of 9");
    ASSERT_TRUE(event->log);
    EXPECT_EQ(text(event->log->content), "cdefab");
    EXPECT_FALSE(event->log->has_last_offset);

    const auto* execution = event->app->execution;
    EXPECT_EQ(text(execution->signal->name), "SIGSEGV");
    EXPECT_EQ(text(execution->signal->code), "SEGV_MAPERR");
    EXPECT_EQ(execution->signal->address, kHighBase + 0x10);
    ASSERT_EQ(execution->n_binaries, 1u);
    EXPECT_EQ(execution->binaries[0]->base_address, kHighBase);
    EXPECT_EQ(execution->binaries[0]->size, 0x1000u);
    EXPECT_EQ(text(execution->binaries[0]->name), "/usr/games/zembrix");
    EXPECT_EQ(text(execution->binaries[0]->uuid), "aabbccddeeff00112233445566778899");
    EXPECT_EQ(execution->binaries[0]->arch, CRASHLOG__ARCHITECTURE__X86_64);
    ASSERT_EQ(execution->n_threads, 2u);
    EXPECT_EQ(text(execution->threads[0]->name), "crashlog-crashe");
    EXPECT_EQ(execution->threads[0]->importance, 0u);
    EXPECT_EQ(text(execution->threads[1]->name), "com.crashlog.context-queue");
    EXPECT_EQ(execution->threads[1]->importance, 4u);
    ASSERT_EQ(execution->threads[1]->n_frames, 1u);
    EXPECT_EQ(execution->threads[1]->frames[0]->pc, kHighBase + 0x40);
    EXPECT_EQ(execution->threads[1]->frames[0]->importance, 4u);
    EXPECT_EQ(execution->threads[0]->frames[0]->importance, 0u);
    EXPECT_EQ(execution->threads[0]->n_registers, 0u);
    EXPECT_EQ(text(execution->exception->type), "std::runtime_error");
    EXPECT_EQ(text(execution->exception->reason), "no room");
    ASSERT_EQ(execution->exception->n_frames, 1u);
    EXPECT_EQ(execution->exception->frames[0]->pc, kHighBase + 0x20);

    // What the conversion never fills is not in the bytes.
    EXPECT_FALSE(session->has_analyzer);
    EXPECT_FALSE(session->has_frame_decoder);
    EXPECT_EQ(event->aggregation_id, nullptr);
    EXPECT_EQ(device->user_agent, nullptr);
    EXPECT_EQ(device->manufacturer, nullptr);
    EXPECT_EQ(device->model_class, nullptr);
    EXPECT_EQ(app->clg_id, nullptr);
    EXPECT_EQ(app->organization->clg_id, nullptr);
    EXPECT_EQ(execution->binaries[0]->clg_id, nullptr);
    EXPECT_EQ(execution->threads[1]->frames[0]->expanded_symbol, nullptr);
    EXPECT_FALSE(execution->threads[1]->frames[0]->has_expanded_offset);
    EXPECT_FALSE(execution->threads[1]->frames[0]->has_properties);
    EXPECT_EQ(execution->exception->caused_by, nullptr);
    EXPECT_FALSE(execution->exception->has_overflow_count);
}

TEST_F(CLGCrashFileTest, NamesTheGeneratorTypeArchitectureAndDeviceState) {
    struct GeneratorCase {
        const char* generator;
        std::optional<Crashlog__GeneratorType> type;
    };
    const GeneratorCase generators[] = {
        {"Crashlog iOS SDK/2.1.3", CRASHLOG__GENERATOR_TYPE__IOS_SDK},
        {"Crashlog Enterprise iOS SDK/1.0", CRASHLOG__GENERATOR_TYPE__IOS_SDK},
        {"Crashlog Mac SDK/2.0", CRASHLOG__GENERATOR_TYPE__MACOS_SDK},
        {"Crashlog Enterprise Mac/2.0", CRASHLOG__GENERATOR_TYPE__MACOS_SDK},
        {"Crashlog Android", std::nullopt},
    };
    for (const GeneratorCase& c : generators) {
        auto record = testing::RecordFixture::standard();
        record.replace("identity", [&](CLGRecordWriter& w) { w.stringMember("generator", c.generator); });
        const SessionPointer session = convert(record);
        ASSERT_TRUE(session);
        EXPECT_EQ(session->has_generator_type != 0, c.type.has_value()) << c.generator;
        if (c.type) {
            EXPECT_EQ(session->generator_type, *c.type) << c.generator;
        }
    }
    struct ArchitectureCase {
        const char* name;
        Crashlog__Architecture architecture;
    };
    const ArchitectureCase architectures[] = {
        {"armv6", CRASHLOG__ARCHITECTURE__ARMV6},   {"armv7", CRASHLOG__ARCHITECTURE__ARMV7},
        {"armv7s", CRASHLOG__ARCHITECTURE__ARMV7S}, {"x86_64", CRASHLOG__ARCHITECTURE__X86_64},
        {"i386", CRASHLOG__ARCHITECTURE__X86_32},   {"arm64", CRASHLOG__ARCHITECTURE__ARM64},
        {"aarch64", CRASHLOG__ARCHITECTURE__UNKNOWN},
    };
    for (const ArchitectureCase& c : architectures) {
        auto record = testing::RecordFixture::standard();
        record.replace("executable", [&](CLGRecordWriter& w) { w.stringMember("architecture", c.name); });
        record.write(recordPath());
        EXPECT_EQ(CLGCrashFile(recordPath()).architecture(), c.architecture) << c.name;
    }
    struct StateCase {
        uint64_t platformCode;
        bool debugger;
        bool vendorInternal;
        uint32_t state;
    };
    for (const StateCase& c : {StateCase{1, false, false, 0}, StateCase{2, false, false, 0x01},
                               StateCase{1, true, false, 0x04}, StateCase{1, false, true, 0x10},
                               StateCase{2, true, true, 0x15}}) {
        auto record = testing::RecordFixture::standard();
        record.replace("host", [&](CLGRecordWriter& w) {
            w.numberMember("platform_code", c.platformCode);
            w.booleanMember("vendor_internal", c.vendorInternal);
        });
        record.replace("process_info", [&](CLGRecordWriter& w) { w.booleanMember("debugger", c.debugger); });
        const SessionPointer session = convert(record);
        ASSERT_TRUE(session);
        EXPECT_EQ(session->device->state, c.state) << c.platformCode << c.debugger << c.vendorInternal;
        EXPECT_EQ(session->device->simulator != 0, c.platformCode == 2);
    }
}

TEST_F(CLGCrashFileTest, ARecordOneLineShortConvertsToNothing) {
    auto record = testing::RecordFixture::standard();
    record.remove("process_stats");
    record.write(recordPath());
    CLGCrashFile file(recordPath());
    EXPECT_FALSE(file.isValid());
    EXPECT_FALSE(file.writeCLSFileToPath(reportPath()));
    EXPECT_FALSE(std::filesystem::exists(reportPath()));
}

TEST_F(CLGCrashFileTest, MissingValuesPackAsEmptyFields) {
    auto record = testing::RecordFixture::standard();
    // A user line without an id, no signal information and no Mach exception, no system version.
    record.replace("user", [](CLGRecordWriter& w) { w.stringMember("email", "a%40b"); });
    record.replace("signal", [](CLGRecordWriter& w) { w.booleanMember("preexisting_handlers", false); });
    record.replace("host", [](CLGRecordWriter& w) { w.stringMember("model", "x86_64"); });
    const SessionPointer session = convert(record);
    ASSERT_TRUE(session);
    EXPECT_EQ(text(session->user->identifier), "");
    EXPECT_EQ(text(session->user->email), "a@b");
    const auto* signal = session->events[0]->app->execution->signal;
    EXPECT_EQ(text(signal->name), "");
    EXPECT_EQ(text(signal->code), "");
    EXPECT_EQ(signal->address, 0u);
    EXPECT_EQ(text(session->os->version), "");
    // Without a crash-time log there is no log content.
    EXPECT_EQ(session->events[0]->log, nullptr);
    // No storage line members: no disk use.
    EXPECT_FALSE(session->events[0]->device->has_disk_used);
}

TEST_F(CLGCrashFileTest, AMachExceptionStandsInForTheSignal) {
    auto record = testing::RecordFixture::standard();
    record.replace("signal", [](CLGRecordWriter& w) { w.booleanMember("preexisting_handlers", false); });
    record.replace("mach_exception", [](CLGRecordWriter& w) {
        w.numberMember("exception", 1);
        w.numberMember("code", 1);
        w.numberMember("subcode", kHighBase);
        w.stringMember("name", "EXC_BAD_ACCESS");
        w.stringMember("code_name", "KERN_INVALID_ADDRESS");
    });
    const SessionPointer session = convert(record);
    ASSERT_TRUE(session);
    const auto* signal = session->events[0]->app->execution->signal;
    EXPECT_EQ(text(signal->name), "EXC_BAD_ACCESS");
    EXPECT_EQ(text(signal->code), "KERN_INVALID_ADDRESS");
    EXPECT_EQ(signal->address, kHighBase);
}

TEST_F(CLGCrashFileTest, AFrameBelongsToTheImageWhoseEndItLiesOn) {
    fullRecord().write(recordPath());
    const CLGCrashFile file(recordPath());
    struct Case {
        uint64_t address;
        bool found;
    };
    for (const Case& c : {Case{kHighBase - 1, false}, Case{kHighBase, true}, Case{kHighBase + 0x1000, true},
                          Case{kHighBase + 0x1001, false}}) {
        std::string uuid;
        uint64_t base = 0;
        EXPECT_EQ(file.lookupUUID(&uuid, &base, c.address), c.found) << std::hex << c.address;
        if (c.found) {
            EXPECT_EQ(uuid, "aabbccddeeff00112233445566778899");
            EXPECT_EQ(base, kHighBase);
        }
    }
}

TEST_F(CLGCrashFileTest, AFrameInALoadedLibraryIsNamedAfterItsFunction) {
    void* library = dlopen(CRASHLOG_TEST_LIBRARY, RTLD_NOW);
    ASSERT_NE(library, nullptr);
    const auto function = reinterpret_cast<uint64_t>(dlsym(library, "crashlogTestLibraryFunction"));
    link_map* map = nullptr;
    ASSERT_EQ(dlinfo(library, RTLD_DI_LINKMAP, &map), 0);
    const uint64_t loadedBase = map->l_addr;
    // In the crashed process the library lay elsewhere, above 4 GiB.
    const uint64_t recordedBase = 0x7e00'0000'0000;
    auto record = fullRecord();
    record.replaceArray("binary_images", [&](CLGRecordWriter& w) {
        w.beginObject();
        w.stringMember("path", CRASHLOG_TEST_LIBRARY);
        w.stringMember("uuid", "00112233445566778899AABBCCDDEEFF");
        w.numberMember("address", recordedBase);
        w.numberMember("size", 0x100000);
        w.endObject();
    });
    record.replaceLine("threads", [&](CLGRecordWriter& w) {
        w.beginLine("threads");
        w.beginArray();
        w.beginArray();
        w.beginObject();
        w.numberMember("address", recordedBase + (function - loadedBase) + 5);
        w.endObject();
        w.endArray();
        w.endArray();
        w.numberMember("crashed_thread", 0);
        w.numberMember("thread_count", 1);
        w.endLine();
    });
    const SessionPointer session = convert(record, {{"00112233445566778899aabbccddeeff", loadedBase}});
    ASSERT_TRUE(session);
    const auto* frame = session->events[0]->app->execution->threads[0]->frames[0];
    EXPECT_EQ(text(frame->symbol), "crashlogTestLibraryFunction");
    EXPECT_EQ(frame->offset, 5u);
    EXPECT_EQ(frame->pc, recordedBase + (function - loadedBase) + 5);
}

TEST_F(CLGCrashFileTest, ReportsTheRecordsFactsToTheApplication) {
    fullRecord().write(recordPath());
    CLGCrashFile file(recordPath());
    EXPECT_EQ(file.identifier(), "6553f10000fa00011234616263646566");
    EXPECT_EQ(file.bundleVersion(), "1");
    EXPECT_EQ(file.bundleShortVersionString(), "0.1");
    EXPECT_EQ(file.crashedOnDate(), 5000000000.0);
    EXPECT_EQ(file.OSVersion(), "6.1.0");
    EXPECT_EQ(file.OSBuildVersion(), "#1 SMP");
    EXPECT_EQ(file.mainExecutableUUID(), "aabbccddeeff00112233445566778899");
    EXPECT_EQ(file.binaryImageUUIDs(), std::vector<std::string>{"aabbccddeeff00112233445566778899"});
    EXPECT_EQ(file.logFilePath(), m_folder.path() / "6553f10000fa0001123461626364.clglog");
    file.setProcessingExecutableUUID("aabbccddeeff00112233445566778899");
    file.symbolicateWithUUIDMap({});
    EXPECT_TRUE(file.executablesMatch());
    EXPECT_TRUE(file.threads()[1].crashed());
}

TEST_F(CLGCrashFileTest, ANullWriteRecordedByTheCrasherConvertsToASessionNamingTheCrashingFunction) {
    CLG_SKIP_UNDER_SANITIZER();
    const testing::CrasherRun crashed = testing::runCrasher("null-write", m_folder.path());
    ASSERT_TRUE(crashed.child.killedBy(SIGSEGV));
    ASSERT_EQ(crashed.records.size(), 1u);
    const std::filesystem::path& record = crashed.records.front();
    const auto report = m_folder.path() / "report.clg";
    const auto converted = testing::runChild({CRASHLOG_CRASHER, "convert", record.string(), report.string()});
    ASSERT_TRUE(converted.exitedWith(0)) << converted.err;
    const SessionPointer session = unpack(report);
    ASSERT_TRUE(session);
    const auto* execution = session->events[0]->app->execution;
    const Crashlog__Session__Event__Application__Execution__Thread* crashedThread = nullptr;
    for (size_t i = 0; i < execution->n_threads; ++i) {
        if (execution->threads[i]->importance == 4)
            crashedThread = execution->threads[i];
    }
    ASSERT_TRUE(crashedThread);
    ASSERT_GT(crashedThread->n_frames, 0u);
    EXPECT_EQ(text(crashedThread->frames[0]->symbol), "crasherNullWrite");
    EXPECT_EQ(text(execution->signal->name), "SIGSEGV");
}

} // namespace
} // namespace zm
