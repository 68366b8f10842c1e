#include "platform/core/Json.h"
#include "tools/crash-service/CrashService.h"
#include "tools/crash-service/CrashServiceOptions.h"
#include "tools/crash-service/CrashServiceStore.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>
#include <thread>

#include <httplib.h>
#include <pthread.h>

int main(int argc, char** argv) {
    const auto options = zm::CrashServiceOptions::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (!options) {
        std::fprintf(stderr, "crash-service: %s\n%s", options.error().description.c_str(), zm::CrashServiceOptions::usage());
        return 2;
    }
    auto store = zm::CrashServiceStore::open(options->database);
    if (!store) {
        std::fprintf(stderr, "crash-service: %s\n", store.error().description.c_str());
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

    const char* scheme = options->secure() ? "https" : "http";
    std::unique_ptr<httplib::Server> server;
    if (options->secure())
        server = std::make_unique<httplib::SSLServer>(options->certificate.c_str(), options->key.c_str());
    else
        server = std::make_unique<httplib::Server>();
    if (!server->is_valid()) {
        std::fprintf(stderr, "crash-service: cannot use the certificate %s with the key %s\n", options->certificate.c_str(),
                     options->key.c_str());
        return 1;
    }
    zm::CrashService service(**store, scheme);
    service.install(*server);
    const int port = options->port == 0 ? server->bind_to_any_port("127.0.0.1")
                                        : (server->bind_to_port("127.0.0.1", options->port) ? options->port : -1);
    if (port <= 0) {
        std::fprintf(stderr, "crash-service: cannot listen on 127.0.0.1:%d\n", options->port);
        return 1;
    }
    std::atomic<bool> ended = false;
    std::thread ender([&] {
        int signal = 0;
        sigwait(&endSignals, &signal);
        // stop() reaches only a server that has begun to answer.
        while (!server->is_running() && !ended)
            std::this_thread::yield();
        server->stop();
    });
    std::printf("listening on %s://127.0.0.1:%d\n", scheme, port);
    std::fflush(stdout);
    const bool served = server->listen_after_bind();
    ended = true;
    // Ends the signal thread when the server stopped by itself.
    pthread_kill(ender.native_handle(), SIGTERM);
    ender.join();
    return served ? 0 : 1;
}
