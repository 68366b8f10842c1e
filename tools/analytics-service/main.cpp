#include "platform/core/Json.h"
#include "tools/analytics-service/AnalyticsService.h"
#include "tools/analytics-service/ServiceOptions.h"
#include "tools/analytics-service/ServiceStore.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <thread>

#include <httplib.h>
#include <pthread.h>

int main(int argc, char** argv) {
    const auto options = zm::ServiceOptions::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (!options) {
        std::fprintf(stderr, "analytics-service: %s\n%s", options.error().description.c_str(), zm::ServiceOptions::usage());
        return 2;
    }
    auto store = zm::ServiceStore::open(options->database);
    if (!store) {
        std::fprintf(stderr, "analytics-service: %s\n", store.error().description.c_str());
        return 1;
    }
    if (options->list) {
        std::printf("%s\n", core::toJson((*store)->listing(), core::JsonStyle::Indented).c_str());
        return 0;
    }

    // The end signals are taken by one thread of our own, which stops the server; the server's
    // threads never see them.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);

    zm::AnalyticsService service(**store, options->secrets);
    httplib::Server server;
    service.install(server);
    const int port = options->port == 0 ? server.bind_to_any_port("127.0.0.1")
                                        : (server.bind_to_port("127.0.0.1", options->port) ? options->port : -1);
    if (port <= 0) {
        std::fprintf(stderr, "analytics-service: cannot listen on 127.0.0.1:%d\n", options->port);
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
    std::printf("listening on 127.0.0.1:%d\n", port);
    std::fflush(stdout);
    const bool served = server.listen_after_bind();
    ended = true;
    // Ends the signal thread when the server stopped by itself.
    pthread_kill(ender.native_handle(), SIGTERM);
    ender.join();
    return served ? 0 : 1;
}
