#include "platform/core/Json.h"
#include "tools/crash-service/CrashService.h"
#include "tools/crash-service/CrashServiceOptions.h"
#include "tools/crash-service/CrashServiceStore.h"
#include "tools/service-host/ServiceLoop.h"

#include <cstdio>
#include <memory>

#include <httplib.h>

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
    return zm::serveUntilEnded(*server, "crash-service", scheme, options->port);
}
