#include "analytics/TmStore.h"

#include <atomic>
#include <mutex>

namespace zm {

namespace {

std::atomic<bool> g_observing = false;
std::atomic<bool> g_firesRestored = false;
std::atomic<bool> g_allowAuto = true;

struct Sink {
    std::mutex lock;
    TmEventSink::Recorder recorder; // guarded by lock
};

Sink& sink() {
    static Sink shared;
    return shared;
}

} // namespace

void TmStore::start() {
    g_observing = true;
}

void TmStore::stop() {
    g_observing = false;
}

bool TmStore::observing() {
    return g_observing;
}

bool TmStore::firesRestoredTransactions() {
    return g_firesRestored;
}

void TmStore::setFiresRestoredTransactions(bool fires) {
    g_firesRestored = fires;
}

bool TmStore::allowAutoIAPComplete() {
    return g_allowAuto;
}

void TmStore::setAllowAutoIAPComplete(bool allow) {
    g_allowAuto = allow;
}

void TmStore::reset() {
    g_observing = false;
    g_firesRestored = false;
    g_allowAuto = true;
}

void TmEventSink::setRecorder(Recorder recorder) {
    Sink& shared = sink();
    std::lock_guard guard(shared.lock);
    shared.recorder = std::move(recorder);
}

void TmEventSink::record(const std::string& name, const core::Dictionary& arguments) {
    Recorder recorder;
    {
        Sink& shared = sink();
        std::lock_guard guard(shared.lock);
        recorder = shared.recorder;
    }
    if (recorder)
        recorder(name, arguments);
}

} // namespace zm
