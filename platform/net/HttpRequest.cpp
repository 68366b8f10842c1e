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
    CurlTransfer transfer(request);
    if (transfer.refusal())
        return *transfer.refusal();
    return transfer.finish(transfer.curl().easy_perform(transfer.handle()));
}

} // namespace net
