// The conversion of a crash record into the packed Crashlog.Session that the service receives.

#include "crashlog/crashlog.pb-c.h"
#include "crashlog/log/CLGLog.h"
#include "crashlog/report/CLGCrashFile.h"
#include "crashlog/report/CLGRecordFields.h"
#include "platform/core/Digest.h"
#include "platform/core/Encoding.h"
#include "platform/core/Files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <deque>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace zm {
namespace {

using Session = Crashlog__Session;
using User = Crashlog__Session__User;
using Application = Crashlog__Session__Application;
using Process = Crashlog__Session__Application__Process;
using Organization = Crashlog__Session__Application__Organization;
using OperatingSystem = Crashlog__Session__OperatingSystem;
using Device = Crashlog__Session__Device;
using DeviceIdentifier = Crashlog__Session__Device__Identifier;
using Event = Crashlog__Session__Event;
using EventApplication = Crashlog__Session__Event__Application;
using Execution = Crashlog__Session__Event__Application__Execution;
using Thread = Crashlog__Session__Event__Application__Execution__Thread;
using Frame = Crashlog__Session__Event__Application__Execution__Thread__Frame;
using Exception = Crashlog__Session__Event__Application__Execution__Exception;
using Signal = Crashlog__Session__Event__Application__Execution__Signal;
using BinaryImage = Crashlog__Session__Event__Application__Execution__BinaryImage;
using EventOperatingSystem = Crashlog__Session__Event__OperatingSystem;
using EventDevice = Crashlog__Session__Event__Device;
using Log = Crashlog__Session__Event__Log;
using CustomAttribute = Crashlog__CustomAttribute;

// Everything the session's messages point to: its texts and its messages, freed together once the
// session is packed. The messages point into it, never into the record, which may be gone by then.
class SessionStore {
public:
    char* text(std::string value) { return m_texts.emplace_back(std::move(value)).data(); }
    char* text(const char* value) { return text(std::string(value)); }
    char* text(const std::optional<std::string>& value) { return value ? text(*value) : nullptr; }
    ProtobufCBinaryData bytes(const std::string& value) {
        char* stored = text(value);
        return {value.size(), reinterpret_cast<uint8_t*>(stored)};
    }
    // A new message, cleared by its generated initialiser.
    template <typename Message> Message* message(void (*initialise)(Message*)) {
        auto owned = std::make_shared<Message>();
        initialise(owned.get());
        m_owned.push_back(owned);
        return owned.get();
    }
    // An array of message pointers, kept as long as the store.
    template <typename Message> Message** array(const std::vector<Message*>& items) {
        auto owned = std::make_shared<std::vector<Message*>>(items);
        m_owned.push_back(owned);
        return owned->data();
    }

private:
    std::deque<std::string> m_texts;
    std::vector<std::shared_ptr<void>> m_owned;
};

std::optional<std::string> unescaped(const std::optional<std::string>& text) {
    return text ? core::percentUnescape(*text) : std::nullopt;
}

uint32_t number32(const core::Dictionary& record, std::string_view line, std::string_view member) {
    return static_cast<uint32_t>(CLGRecordNumber(record, line, member));
}

std::optional<Crashlog__GeneratorType> generatorType(const std::string& generator) {
    for (const char* prefix : {"Crashlog iOS", "Crashlog Enterprise iOS"}) {
        if (generator.starts_with(prefix))
            return CRASHLOG__GENERATOR_TYPE__IOS_SDK;
    }
    for (const char* prefix : {"Crashlog Mac", "Crashlog Enterprise Mac"}) {
        if (generator.starts_with(prefix))
            return CRASHLOG__GENERATOR_TYPE__MACOS_SDK;
    }
    return std::nullopt;
}

// The crash-time log read as a ring: from the next-write offset to the end, then the start.
std::optional<std::string> ringLog(const CLGCrashFile& file) {
    const core::Value* offset = CLGRecordMember(file.crashData(), "log", "last_offset");
    if (!offset || !offset->isNumber())
        return std::nullopt;
    auto bytes = core::readFile(file.logFilePath());
    if (!bytes.ok())
        return std::nullopt;
    const std::string& data = bytes.value();
    const size_t split = std::min(static_cast<size_t>(offset->integerValue()), data.size());
    std::string content = data.substr(split) + data.substr(0, split);
    if (!core::isValidUtf8(content))
        return std::nullopt;
    return content;
}

Frame** frames(SessionStore& store, const std::vector<CLGStackFrame>& stackFrames) {
    std::vector<Frame*> made;
    for (const CLGStackFrame& stackFrame : stackFrames) {
        Frame* frame = store.message(crashlog__session__event__application__execution__thread__frame__init);
        frame->pc = stackFrame.address;
        frame->symbol = store.text(stackFrame.symbol);
        frame->file = store.text(stackFrame.fileName);
        frame->has_offset = 1;
        frame->offset = stackFrame.offset;
        frame->has_importance = 1;
        frame->importance = stackFrame.importance;
        made.push_back(frame);
    }
    return store.array(made);
}

CustomAttribute** customAttributes(SessionStore& store, const CLGCustomKeys& keys) {
    std::vector<CustomAttribute*> made;
    for (const auto& [key, value] : keys) {
        CustomAttribute* attribute = store.message(crashlog__custom_attribute__init);
        attribute->key = store.text(key);
        attribute->value = store.text(value);
        made.push_back(attribute);
    }
    return store.array(made);
}

void populateSession(SessionStore& store, const CLGCrashFile& file, Session& session) {
    const core::Dictionary& record = file.crashData();
    const std::string generator = CLGRecordText(record, "identity", "generator").value_or("");
    session.generator = store.text(generator);
    if (const auto type = generatorType(generator)) {
        session.has_generator_type = 1;
        session.generator_type = *type;
    }
    session.identifier = store.bytes(file.identifier());
    session.started_at = CLGRecordNumber(record, "identity", "started_at");
    session.has_ended_at = 1;
    session.ended_at = CLGRecordNumber(record, "identity", "ended_at");
    session.has_crashed = 1;
    session.crashed = 1;
}

void populateUser(SessionStore& store, const CLGCrashFile& file, User& user) {
    const core::Dictionary& record = file.crashData();
    user.identifier = store.text(unescaped(CLGRecordText(record, "user", "id")).value_or(""));
    user.email = store.text(unescaped(CLGRecordText(record, "user", "email")));
    user.name = store.text(unescaped(CLGRecordText(record, "user", "name")));
}

void populateApp(SessionStore& store, const CLGCrashFile& file, Application& app) {
    const core::Dictionary& record = file.crashData();
    app.identifier = store.text(CLGRecordText(record, "executable", "bundle_id"));
    app.version = store.text(CLGRecordText(record, "executable", "version"));
    app.display_version = store.text(CLGRecordText(record, "executable", "display_version"));
    app.installation_uuid = store.text(unescaped(CLGRecordText(record, "identity", "install_id")));
    app.development_platform = store.text(unescaped(CLGRecordText(record, "executable", "dev_platform")));
    app.development_platform_version =
        store.text(unescaped(CLGRecordText(record, "executable", "dev_platform_version")));

    Process* process = store.message(crashlog__session__application__process__init);
    process->path = store.text(CLGRecordText(record, "executable", "path"));
    process->name = store.text(CLGRecordText(record, "process_info", "name"));
    process->pid = number32(record, "process_info", "pid");
    process->has_parent_process_id = 1;
    process->parent_process_id = number32(record, "process_info", "parent_pid");
    process->parent_process_name = store.text(CLGRecordText(record, "process_info", "parent_name"));
    app.process = process;

    Organization* organization = store.message(crashlog__session__application__organization__init);
    organization->api_key = store.text(CLGRecordText(record, "identity", "api_key"));
    app.organization = organization;
}

void populateOS(SessionStore& store, const CLGCrashFile& file, OperatingSystem& os) {
    const core::Dictionary& record = file.crashData();
    // The platform code travels from the record unchanged.
    os.platform = static_cast<Crashlog__Platform>(number32(record, "host", "platform_code"));
    os.version = store.text(CLGRecordText(record, "host", "os_version"));
    os.build_version = store.text(CLGRecordText(record, "host", "os_build"));
}

void populateDevice(SessionStore& store, const CLGCrashFile& file, Device& device) {
    const core::Dictionary& record = file.crashData();
    device.arch = static_cast<Crashlog__Architecture>(file.architecture());
    device.model = store.text(CLGRecordText(record, "host", "model"));
    device.has_cores = 1;
    device.cores = number32(record, "host", "cores");
    device.language = store.text(CLGRecordText(record, "host", "locale"));
    const bool simulator = number32(record, "host", "platform_code") == 2;
    device.has_simulator = 1;
    device.simulator = simulator;
    device.has_state = 1;
    device.state = (simulator ? 0x01u : 0) | (CLGRecordBool(record, "process_info", "debugger") ? 0x04u : 0) |
                   (CLGRecordBool(record, "host", "vendor_internal") ? 0x10u : 0);
    device.has_ram = 1;
    device.ram = CLGRecordNumber(record, "process_stats", "active") + CLGRecordNumber(record, "process_stats", "inactive") +
                 CLGRecordNumber(record, "process_stats", "wired") + CLGRecordNumber(record, "process_stats", "freeMem");
    device.has_disk_space = 1;
    device.disk_space = CLGRecordNumber(record, "storage", "total");

    const auto apiKey = CLGRecordText(record, "identity", "api_key").value_or("");
    if (const auto deviceId = file.deviceId()) {
        device.has_identifier = 1;
        device.identifier = store.bytes(core::sha1Hex(apiKey + *deviceId));
        device.has_udid = 1;
        device.udid = store.bytes(*deviceId);
    }
    std::vector<DeviceIdentifier*> identifiers;
    const std::pair<Crashlog__DeviceIdentifierType, std::optional<std::string>> known[] = {
        {CRASHLOG__DEVICE_IDENTIFIER_TYPE__IOS_UDID, file.deviceId()},
        {CRASHLOG__DEVICE_IDENTIFIER_TYPE__IOS_VENDOR_IDENTIFIER, file.vendorId()},
        {CRASHLOG__DEVICE_IDENTIFIER_TYPE__IOS_ADVERTISING_IDENTIFIER, file.advertisingId()},
        {CRASHLOG__DEVICE_IDENTIFIER_TYPE__WIFI_MAC_ADDRESS, file.networkMACAddress()},
    };
    for (const auto& [type, value] : known) {
        if (!value)
            continue;
        DeviceIdentifier* identifier = store.message(crashlog__session__device__identifier__init);
        identifier->key = type;
        identifier->value = store.text(*value);
        identifiers.push_back(identifier);
    }
    device.n_identifiers = identifiers.size();
    device.identifiers = store.array(identifiers);
}

Signal* signal(SessionStore& store, const core::Dictionary& record) {
    Signal* signal = store.message(crashlog__session__event__application__execution__signal__init);
    if (CLGRecordHas(record, "signal", "name")) {
        signal->name = store.text(CLGRecordText(record, "signal", "name"));
        signal->code = store.text(CLGRecordText(record, "signal", "code_name"));
        signal->address = CLGRecordNumber(record, "signal", "address");
        return signal;
    }
    signal->name = store.text(CLGRecordText(record, "mach_exception", "name"));
    if (const auto codeName = CLGRecordText(record, "mach_exception", "code_name"))
        signal->code = store.text(*codeName);
    else if (const core::Value* code = CLGRecordMember(record, "mach_exception", "code"))
        signal->code = store.text(std::to_string(code->integerValue()));
    signal->address = CLGRecordNumber(record, "mach_exception", "subcode");
    return signal;
}

Execution* execution(SessionStore& store, const CLGCrashFile& file) {
    const core::Dictionary& record = file.crashData();
    Execution* execution = store.message(crashlog__session__event__application__execution__init);
    execution->signal = signal(store, record);

    std::vector<BinaryImage*> binaries;
    if (const core::Array* images = file.sortedBinaryImageData()) {
        for (const core::Value& image : *images) {
            BinaryImage* binary = store.message(crashlog__session__event__application__execution__binary_image__init);
            const core::Value* address = image.find("address");
            const core::Value* size = image.find("size");
            binary->base_address = address ? static_cast<uint64_t>(address->integerValue()) : 0;
            binary->size = size ? static_cast<uint64_t>(size->integerValue()) : 0;
            const core::Value* path = image.find("path");
            binary->name = store.text(path && path->asString() ? *path->asString() : "");
            const core::Value* uuid = image.find("uuid");
            std::string uuidText = uuid && uuid->asString() ? *uuid->asString() : "";
            std::transform(uuidText.begin(), uuidText.end(), uuidText.begin(),
                           [](unsigned char letter) { return static_cast<char>(std::tolower(letter)); });
            binary->has_uuid = 1;
            binary->uuid = store.bytes(uuidText);
            binary->has_arch = 1;
            binary->arch = static_cast<Crashlog__Architecture>(file.architecture());
            binaries.push_back(binary);
        }
    }
    execution->n_binaries = binaries.size();
    execution->binaries = store.array(binaries);

    std::vector<Thread*> threads;
    for (const CLGThread& source : file.threads()) {
        Thread* thread = store.message(crashlog__session__event__application__execution__thread__init);
        if (!source.name().empty())
            thread->name = store.text(source.name());
        thread->importance = source.importance;
        thread->n_frames = source.frames.size();
        thread->frames = frames(store, source.frames);
        threads.push_back(thread);
    }
    execution->n_threads = threads.size();
    execution->threads = store.array(threads);

    Exception* exception = store.message(crashlog__session__event__application__execution__exception__init);
    if (const auto name = CLGRecordText(record, "exception", "name")) {
        exception->type = store.text(*name);
        exception->reason = store.text(unescaped(CLGRecordText(record, "exception", "reason")));
        if (const auto& exceptionFrames = file.exceptionFrames()) {
            exception->n_frames = exceptionFrames->size();
            exception->frames = frames(store, *exceptionFrames);
        }
    }
    execution->exception = exception;
    return execution;
}

void populateEvent(SessionStore& store, const CLGCrashFile& file, Event& event) {
    const core::Dictionary& record = file.crashData();
    event.timestamp = CLGRecordNumber(record, "identity", "ended_at");
    event.type = store.text("crash");

    EventDevice* device = store.message(crashlog__session__event__device__init);
    device->has_battery_level = 1;
    device->battery_level = strtof(CLGRecordText(record, "host", "battery_level").value_or("0").c_str(), nullptr);
    device->has_battery_velocity = 1;
    device->battery_velocity = static_cast<int32_t>(CLGRecordNumber(record, "host", "charging_state"));
    device->has_orientation = 1;
    device->orientation = number32(record, "host", "device_orientation");
    device->has_proximity_on = 1;
    device->proximity_on = CLGRecordBool(record, "host", "proximity_on");
    device->has_ram_used = 1;
    device->ram_used = CLGRecordNumber(record, "process_stats", "active") +
                       CLGRecordNumber(record, "process_stats", "inactive") +
                       CLGRecordNumber(record, "process_stats", "wired");
    if (CLGRecordHas(record, "storage", "total")) {
        device->has_disk_used = 1;
        device->disk_used = CLGRecordNumber(record, "storage", "total") - CLGRecordNumber(record, "storage", "free");
    }
    event.device = device;

    EventOperatingSystem* os = store.message(crashlog__session__event__operating_system__init);
    std::vector<Process*> processes;
    const core::Value* external = record.find("external_process_info");
    if (const core::Array* list = external ? external->asArray() : nullptr) {
        for (const core::Value& entry : *list) {
            Process* process = store.message(crashlog__session__application__process__init);
            const core::Value* name = entry.find("name");
            const core::Value* pid = entry.find("pid");
            process->name = store.text(name && name->asString() ? *name->asString() : "");
            process->pid = pid ? static_cast<uint32_t>(pid->integerValue()) : 0;
            processes.push_back(process);
        }
    }
    os->n_processes = processes.size();
    os->processes = store.array(processes);
    event.os = os;

    EventApplication* app = store.message(crashlog__session__event__application__init);
    app->has_background = 1;
    app->background = CLGRecordBool(record, "host", "is_backgrounded");
    app->has_ui_orientation = 1;
    app->ui_orientation = number32(record, "host", "ui_orientation");
    const CLGCustomKeys keys = file.customKeys();
    app->n_custom_attributes = keys.size();
    app->custom_attributes = customAttributes(store, keys);
    app->execution = execution(store, file);
    event.app = app;

    if (const auto content = ringLog(file)) {
        Log* log = store.message(crashlog__session__event__log__init);
        log->content = store.text(*content);
        event.log = log;
    }
}

} // namespace

bool CLGCrashFile::writeCLSFileToPath(const std::filesystem::path& path) const {
    if (!isValid())
        return false;
    SessionStore store;
    Session* session = store.message(crashlog__session__init);
    User* user = store.message(crashlog__session__user__init);
    Application* app = store.message(crashlog__session__application__init);
    OperatingSystem* os = store.message(crashlog__session__operating_system__init);
    Device* device = store.message(crashlog__session__device__init);
    Event* event = store.message(crashlog__session__event__init);
    session->user = user;
    session->app = app;
    session->os = os;
    session->device = device;
    session->n_events = 1;
    session->events = store.array(std::vector<Event*>{event});

    populateSession(store, *this, *session);
    populateUser(store, *this, *user);
    populateApp(store, *this, *app);
    populateOS(store, *this, *os);
    populateDevice(store, *this, *device);
    populateEvent(store, *this, *event);

    const size_t size = crashlog__session__get_packed_size(session);
    std::vector<uint8_t> buffer(size);
    crashlog__session__pack(session, buffer.data());
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const ssize_t written = fd >= 0 ? write(fd, buffer.data(), size) : -1;
    const int error = errno;
    if (fd >= 0)
        close(fd);
    if (written != static_cast<ssize_t>(size)) {
        CLGDebugLog("[Crashlog] Protobuf write failed.  Wrote %zd/%zd (%d)", written, static_cast<ssize_t>(size), error);
        return false;
    }
    return true;
}

} // namespace zm
