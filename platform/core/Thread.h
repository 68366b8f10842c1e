#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

namespace core {

// A named thread. Linux keeps at most 15 bytes of a thread's name, so the name handed to the kernel
// (seen by debuggers and crash reports) is shortened by kernelName(); the full name stays readable
// through currentName(). Each thread gets an alternate signal stack of its own (kSignalStackSize
// bytes, freed when the thread ends), so that a signal handler meant for the alternate stack, as the
// crash reporter's is, runs even after the thread's own stack overflowed.
//
// Thread safety: a Thread object is used by its owner alone; the static operations may be called from
// any thread and concern the calling thread.
class Thread {
public:
    static constexpr std::size_t kSignalStackSize = 131072;

    Thread() = default;
    // Starts `body` on a new thread called `name`.
    Thread(std::string name, std::function<void()> body);
    // Joins the thread when it is still joinable.
    ~Thread();

    Thread(Thread&& other) noexcept = default;
    Thread& operator=(Thread&& other) noexcept;

    bool joinable() const { return m_thread.joinable(); }
    void join();
    // Lets the thread run on without an owner (needed when its owner is destroyed on the thread itself).
    void detach();

    // Starts `body` on a new thread called `name` that nobody waits for.
    static void detach(std::string name, std::function<void()> body);

    static void setCurrentName(std::string_view name);
    static std::string currentName();

    // The name as the kernel keeps it: leading dot-separated parts of a reverse-domain name are dropped
    // while it is too long ("com.crashlog.submission" becomes "submission"), then it is cut to 15 bytes
    // without splitting a UTF-8 character.
    static std::string kernelName(std::string_view name);

private:
    std::thread m_thread;
};

} // namespace core
