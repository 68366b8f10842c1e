#pragma once

#include "crashlog/service/CLGWebRequest.h"
#include "crashlog/service/CLGWebResponse.h"
#include "platform/core/DispatchQueue.h"
#include "platform/net/HttpTransfers.h"

#include <functional>
#include <memory>

namespace zm {

// One exchange of the REST layer: it sends its request once, collects the answer on a serial queue of
// its own, decodes the body by its content type (a JSON or property-list answer into values, anything
// else as raw bytes) and hands the response to its handler exactly once.
//
// Thread safety: start once, from any thread.
class CLGWebClientTransaction : public std::enable_shared_from_this<CLGWebClientTransaction> {
public:
    using CompletionHandler = std::function<void(std::shared_ptr<const CLGWebResponse>)>;

    static constexpr std::string_view kJsonContentType = "application/json";
    static constexpr std::string_view kPropertyListContentType = "application/x-plist";

    static std::shared_ptr<CLGWebClientTransaction> transactionWithRequest(std::shared_ptr<const CLGWebRequest> request);
    explicit CLGWebClientTransaction(std::shared_ptr<const CLGWebRequest> request);

    // Sends the request through `transfers`; `handler` runs on the transaction's queue.
    void startWithCompletionHandler(CompletionHandler handler, net::HttpTransfers& transfers = net::HttpTransfers::shared());
    // Sends the request and waits for the answer; `handler` runs on the calling thread.
    void syncStartWithCompletionHandler(CompletionHandler handler);

    const CLGWebRequest& request() const { return *m_request; }

    // The body of `data` for a content type named as above: nothing for no bytes, values for JSON (or
    // nothing when it is not JSON) and property lists (an error when it is not one), else the bytes.
    static core::Value objectFromReceivedData(const std::string& data, std::string_view contentType,
                                              std::optional<core::Error>* error);

private:
    void receive(core::Result<net::HttpResponse> answer);
    void complete();

    const std::shared_ptr<const CLGWebRequest> m_request;
    const std::shared_ptr<CLGWebResponse> m_response = std::make_shared<CLGWebResponse>();
    std::string m_contentType;
    const std::shared_ptr<core::DispatchQueue> m_queue;
    CompletionHandler m_completionHandler;
};

} // namespace zm
