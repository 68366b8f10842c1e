#include "platform/core/Thread.h"

#include <pthread.h>

namespace core {
namespace {

constexpr std::size_t kernelNameLimit = 15;

thread_local std::string t_name;

bool isUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

std::function<void()> named(std::string name, std::function<void()> body) {
    return [name = std::move(name), body = std::move(body)] {
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
