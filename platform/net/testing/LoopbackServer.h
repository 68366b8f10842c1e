#pragma once

#include <httplib.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace net::testing {

// An HTTP server of the test's own on 127.0.0.1 at a port the system picks, answering from its own
// thread until the object goes away. Set the handlers on server() before start().
template <typename Server = httplib::Server> class LoopbackServer {
public:
    template <typename... Arguments>
    explicit LoopbackServer(Arguments&&... arguments)
        : m_server(std::forward<Arguments>(arguments)...) {}
    ~LoopbackServer() { stop(); }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    Server& server() { return m_server; }

    // Binds and starts answering; false when no port could be had.
    bool start() {
        m_port = m_server.bind_to_any_port("127.0.0.1");
        if (m_port <= 0)
            return false;
        m_thread = std::thread([this] {
            m_server.listen_after_bind();
            m_ended = true;
        });
        // stop() only reaches a server that runs; the socket already takes connections meanwhile.
        while (!m_server.is_running() && !m_ended)
            std::this_thread::yield();
        return !m_ended;
    }

    // Stops answering; the port is closed afterwards.
    void stop() {
        m_server.stop();
        if (m_thread.joinable())
            m_thread.join();
    }

    int port() const { return m_port; }
    std::string url(const std::string& path, const char* scheme = "http") const {
        return std::string(scheme) + "://127.0.0.1:" + std::to_string(m_port) + path;
    }

private:
    Server m_server;
    int m_port = 0;
    std::atomic<bool> m_ended = false;
    std::thread m_thread;
};

} // namespace net::testing
