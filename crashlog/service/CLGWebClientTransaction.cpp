#include "crashlog/service/CLGWebClientTransaction.h"

#include "crashlog/service/CLGWebClient.h"
#include "platform/core/PropertyList.h"

namespace zm {

std::shared_ptr<CLGWebClientTransaction> CLGWebClientTransaction::transactionWithRequest(std::shared_ptr<const CLGWebRequest> request) {
    return std::make_shared<CLGWebClientTransaction>(std::move(request));
}

CLGWebClientTransaction::CLGWebClientTransaction(std::shared_ptr<const CLGWebRequest> request)
    : m_request(std::move(request))
    , m_queue(core::DispatchQueue::serial("com.crashlog.web-transaction")) {}

void CLGWebClientTransaction::startWithCompletionHandler(CompletionHandler handler, net::HttpTransfers& transfers) {
    auto self = shared_from_this();
    m_queue->async([self, handler = std::move(handler), &transfers]() mutable {
        self->m_completionHandler = std::move(handler);
        const net::HttpRequest request = self->m_request->URLRequest();
        self->m_response->requestURL = request.url;
        // The answer arrives on the transfers' worker and is handled on this transaction's queue.
        transfers.start(request, [self](core::Result<net::HttpResponse> answer) {
            self->m_queue->async([self, answer = std::move(answer)]() mutable { self->receive(std::move(answer)); });
        });
    });
}

void CLGWebClientTransaction::syncStartWithCompletionHandler(CompletionHandler handler) {
    m_completionHandler = std::move(handler);
    const net::HttpRequest request = m_request->URLRequest();
    m_response->requestURL = request.url;
    receive(net::perform(request));
}

void CLGWebClientTransaction::receive(core::Result<net::HttpResponse> answer) {
    if (!answer) {
        m_response->error = answer.error();
        complete();
        return;
    }
    m_response->statusCode = static_cast<uint32_t>(answer->status);
    const std::string contentType = answer->header("Content-Type").value_or("");
    if (contentType.find(kPropertyListContentType) != std::string::npos)
        m_contentType = kPropertyListContentType;
    else if (contentType.find(kJsonContentType) != std::string::npos)
        m_contentType = kJsonContentType;
    m_response->responseData = std::move(answer.value().body);
    complete();
}

void CLGWebClientTransaction::complete() {
    m_response->body = objectFromReceivedData(m_response->responseData, m_contentType, &m_response->error);
    CompletionHandler handler = std::move(m_completionHandler);
    m_completionHandler = nullptr;
    if (handler)
        handler(m_response);
}

core::Value CLGWebClientTransaction::objectFromReceivedData(const std::string& data, std::string_view contentType,
                                                            std::optional<core::Error>* error) {
    if (data.empty())
        return {};
    if (contentType == kJsonContentType)
        return CLGWebClient::decodeJSON(data);
    if (contentType == kPropertyListContentType) {
        core::Result<core::Value> parsed = core::parsePropertyList(data);
        if (parsed)
            return std::move(parsed.value());
        if (error && !*error)
            *error = parsed.error();
        return {};
    }
    return core::Value(core::asBytes(data));
}

} // namespace zm
