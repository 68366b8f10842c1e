#include "tools/crash-service/SessionSummary.h"

#include "crashlog/crashlog.pb-c.h"
#include "crashlog/report/CLGStackFrame.h"
#include "platform/core/Encoding.h"

#include <algorithm>
#include <memory>

namespace zm {

namespace {

struct SessionDeleter {
    void operator()(Crashlog__Session* session) const { crashlog__session__free_unpacked(session, nullptr); }
};

std::string text(const char* value) {
    return value ? value : "";
}

} // namespace

std::optional<core::Dictionary> summarizeSession(std::string_view bytes) {
    const std::unique_ptr<Crashlog__Session, SessionDeleter> session(
        crashlog__session__unpack(nullptr, bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data())));
    if (!session)
        return std::nullopt;
    // The reporter's identifiers are texts; anything else is shown in hexadecimal.
    const std::string_view identifier(reinterpret_cast<const char*>(session->identifier.data), session->identifier.len);
    const bool printable = std::all_of(identifier.begin(), identifier.end(), [](char c) { return c > ' ' && c < 0x7f; });
    core::Dictionary summary{{"identifier", printable ? std::string(identifier) : core::hexString(identifier)}};
    const Crashlog__Session__Event__Application__Execution* execution =
        session->n_events > 0 && session->events[0]->app ? session->events[0]->app->execution : nullptr;
    if (!execution)
        return summary;
    if (const auto* signal = execution->signal)
        summary.set("signal", core::Dictionary{{"name", text(signal->name)}, {"code", text(signal->code)},
                                               {"address", static_cast<int64_t>(signal->address)}});
    for (size_t i = 0; i < execution->n_threads; ++i) {
        const auto* thread = execution->threads[i];
        if ((thread->importance & kCLGImportanceCrashed) == 0)
            continue;
        core::Array frames;
        for (size_t j = 0; j < thread->n_frames; ++j) {
            const auto* frame = thread->frames[j];
            frames.push_back(core::Dictionary{{"pc", static_cast<int64_t>(frame->pc)},
                                              {"symbol", text(frame->symbol)},
                                              {"offset", static_cast<int64_t>(frame->offset)}});
        }
        summary.set("crashed_thread", core::Dictionary{{"name", text(thread->name)}, {"frames", std::move(frames)}});
        break;
    }
    return summary;
}

} // namespace zm
