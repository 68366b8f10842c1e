#include "tools/service-host/ServiceLoop.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <thread>

#include <httplib.h>
#include <pthread.h>

namespace zm {

int serveUntilEnded(httplib::Server& server, const std::string& program, const std::string& scheme, int port) {
    // The end signals are taken by one thread of our own, which stops the server; the server's
    // threads never see them.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);

    const int boundPort =
        port == 0 ? server.bind_to_any_port("127.0.0.1") : (server.bind_to_port("127.0.0.1", port) ? port : -1);
    if (boundPort <= 0) {
        std::fprintf(stderr, "%s: cannot listen on 127.0.0.1:%d\n", program.c_str(), port);
        return 1;
    }
    std::atomic<bool> ended = false;
    std::thread ender([&] {
        int signal = 0;
        sigwait(&endSignals, &signal);
        // stop() reaches only a server that has begun to answer.
        while (!server.is_running() && !ended)
            std::this_thread::yield();
        server.stop();
    });
    std::printf("listening on %s://127.0.0.1:%d\n", scheme.c_str(), boundPort);
    std::fflush(stdout);
    const bool served = server.listen_after_bind();
    ended = true;
    // Ends the signal thread when the server stopped by itself.
    pthread_kill(ender.native_handle(), SIGTERM);
    ender.join();
    return served ? 0 : 1;
}

} // namespace zm
