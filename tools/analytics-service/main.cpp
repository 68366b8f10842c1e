#include "platform/core/Json.h"
#include "tools/analytics-service/AnalyticsService.h"
#include "tools/analytics-service/ServiceOptions.h"
#include "tools/analytics-service/ServiceStore.h"
#include "tools/service-host/ServiceLoop.h"

#include <cstdio>

#include <httplib.h>

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
    zm::AnalyticsService service(**store, options->secrets);
    httplib::Server server;
    service.install(server);
    return zm::serveUntilEnded(server, "analytics-service", "http", options->port);
}
