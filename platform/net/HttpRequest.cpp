#include "platform/net/HttpRequest.h"

#include "platform/net/CurlTransfer.h"

#include <algorithm>
#include <cctype>

namespace net {

std::optional<std::string> HttpResponse::header(std::string_view name) const {
    const auto sameName = [&](const auto& header) {
        return std::equal(header.first.begin(), header.first.end(), name.begin(), name.end(),
                          [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) ==
                                                      std::tolower(static_cast<unsigned char>(y)); });
    };
    const auto found = std::find_if(headers.begin(), headers.end(), sameName);
    if (found == headers.end())
        return std::nullopt;
    return found->second;
}

core::Result<HttpResponse> perform(const HttpRequest& request) {
    return perform(request, std::stop_token());
}

core::Result<HttpResponse> perform(const HttpRequest& request, std::stop_token stop) {
    CurlTransfer transfer(request);
    if (transfer.refusal())
        return *transfer.refusal();
    const CurlLibrary& curl = transfer.curl();
    CURLM* const multi = curl.multi_init();
    if (!multi || curl.multi_add_handle(multi, transfer.handle()) != CURLM_OK) {
        if (multi)
            curl.multi_cleanup(multi);
        return transfer.failure(HttpFailure::Transport, "the transfer could not be started");
    }
    std::optional<core::Result<HttpResponse>> answer;
    {
        // A stop wakes the wait below at once.
        const std::stop_callback wake(stop, [&] { curl.multi_wakeup(multi); });
        while (!answer && !stop.stop_requested()) {
            int running = 0;
            curl.multi_perform(multi, &running);
            int waiting = 0;
            while (CURLMsg* message = curl.multi_info_read(multi, &waiting)) {
                if (message->msg == CURLMSG_DONE)
                    answer = transfer.finish(message->data.result);
            }
            if (!answer)
                curl.multi_poll(multi, nullptr, 0, 1000, nullptr);
        }
    }
    curl.multi_remove_handle(multi, transfer.handle());
    curl.multi_cleanup(multi);
    if (!answer)
        return transfer.failure(HttpFailure::Cancelled, "the request was given up");
    return std::move(*answer);
}

} // namespace net
