#include "platform/core/Thread.h"

#include <csignal>
#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

namespace core {
namespace {

constexpr std::size_t kernelNameLimit = 15;

thread_local std::string t_name;

bool isUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The thread's own alternate signal stack, for as long as the thread runs: a handler installed to run
// on the alternate stack (the crash reporter's) then still runs when the thread's stack has overflowed.
// A guard page below it turns an overflow of the handler itself into a fault instead of a write into
// whatever lies there. Nothing is done when the thread has one already or the memory cannot be had.
class AlternateSignalStack {
public:
    AlternateSignalStack() {
        stack_t current{};
        if (sigaltstack(nullptr, &current) != 0 || !(current.ss_flags & SS_DISABLE))
            return;
        const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        m_size = Thread::kSignalStackSize + page;
        m_mapping = mmap(nullptr, m_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (m_mapping == MAP_FAILED || mprotect(m_mapping, page, PROT_NONE) != 0) {
            release();
            return;
        }
        const stack_t ours{static_cast<char*>(m_mapping) + page, 0, Thread::kSignalStackSize};
        if (sigaltstack(&ours, nullptr) != 0)
            release();
    }
    ~AlternateSignalStack() {
        if (m_mapping == MAP_FAILED)
            return;
        const stack_t none{nullptr, SS_DISABLE, 0};
        sigaltstack(&none, nullptr);
        release();
    }
    AlternateSignalStack(const AlternateSignalStack&) = delete;
    AlternateSignalStack& operator=(const AlternateSignalStack&) = delete;

private:
    void release() {
        if (m_mapping != MAP_FAILED)
            munmap(m_mapping, m_size);
        m_mapping = MAP_FAILED;
    }

    void* m_mapping = MAP_FAILED;
    std::size_t m_size = 0;
};

std::function<void()> named(std::string name, std::function<void()> body) {
    return [name = std::move(name), body = std::move(body)] {
        const AlternateSignalStack signalStack;
        Thread::setCurrentName(name);
        body();
    };
}

} // namespace

Thread::Thread(std::string name, std::function<void()> body)
    : m_thread(named(std::move(name), std::move(body))) {}

Thread::~Thread() {
    if (m_thread.joinable())
        m_thread.join();
}

Thread& Thread::operator=(Thread&& other) noexcept {
    if (this != &other) {
        if (m_thread.joinable())
            m_thread.join();
        m_thread = std::move(other.m_thread);
    }
    return *this;
}

void Thread::join() {
    m_thread.join();
}

void Thread::detach() {
    m_thread.detach();
}

void Thread::detach(std::string name, std::function<void()> body) {
    std::thread(named(std::move(name), std::move(body))).detach();
}

void Thread::setCurrentName(std::string_view name) {
    t_name = name;
    pthread_setname_np(pthread_self(), kernelName(name).c_str());
}

std::string Thread::currentName() {
    return t_name;
}

std::string Thread::kernelName(std::string_view name) {
    while (name.size() > kernelNameLimit) {
        const auto dot = name.find('.');
        if (dot == std::string_view::npos || dot + 1 == name.size())
            break;
        name.remove_prefix(dot + 1);
    }
    if (name.size() > kernelNameLimit) {
        std::size_t cut = kernelNameLimit;
        while (cut > 0 && isUtf8Continuation(name[cut]))
            --cut;
        name = name.substr(0, cut);
    }
    return std::string(name);
}

} // namespace core
