#pragma once

namespace core {

// Which queue the calling thread is running work for; worker threads set it, queues compare it.
// Internal to the queue implementations.
class QueueIdentity {
public:
    static const void* current() { return t_current; }

    // Marks the calling thread as running work for `queue` for the lifetime of the scope.
    class Scope {
    public:
        explicit Scope(const void* queue)
            : m_previous(t_current) {
            t_current = queue;
        }
        ~Scope() { t_current = m_previous; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        const void* m_previous;
    };

private:
    static thread_local const void* t_current;
};

} // namespace core
