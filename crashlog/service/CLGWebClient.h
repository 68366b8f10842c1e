#pragma once

#include "crashlog/service/CLGWebClientTransaction.h"
#include "crashlog/service/CLGWebRequest.h"
#include "platform/core/DispatchQueue.h"
#include "platform/net/HttpTransfers.h"

#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace zm {

inline constexpr std::string_view kCLGWebClientErrorDomain = "CLGWebClientErrorDomain";
// The status differs from the one the caller expected.
inline constexpr long kCLGWebClientUnexpectedStatus = -1;

// The crash service's HTTP client: a base URL and default headers, requests run side by side and kept
// alive until they finish, responses handed to callers on the global queue. Server trust is the
// transfer's own certificate check, against the system's authorities or a file given here.
//
// Thread safety: every operation may be called from any thread.
class CLGWebClient : public std::enable_shared_from_this<CLGWebClient> {
public:
    using Completion = std::function<void(std::shared_ptr<const CLGWebResponse>)>;

    // Escapes every character that is not a letter, a digit or one of - . _ ~ as %XX (upper-case hex,
    // UTF-8 bytes), but leaves an existing escape (% and two hex digits) as it is, so that a value
    // escaped once is not escaped again.
    static std::string escapeURLString(std::string_view text);
    // The JSON value of `data`; null when it is not JSON.
    static core::Value decodeJSON(std::string_view data);

    // A client for the service at `url`; `transfers` sends its requests.
    static std::shared_ptr<CLGWebClient> create(std::string url, net::HttpTransfers& transfers = net::HttpTransfers::shared());
    CLGWebClient(std::string url, net::HttpTransfers& transfers);

    const std::string& URL() const { return m_url; }
    // Sets a default header, replacing an earlier value; a request's own header of that name wins.
    void addValue(std::string value, std::string_view header);
    net::HttpHeaders defaultHeaders() const;
    // A PEM file of authorities to trust in place of the system's, for every later request.
    void setCertificateAuthorities(std::string file);

    // Fills in the request's URL (from its path) and the default headers it lacks, sends it, and calls
    // `completion` with the response on the global queue.
    void startRequest(std::shared_ptr<CLGWebRequest> request, Completion completion);
    // The same; a response without error whose status is not `expected` gets the error
    // kCLGWebClientUnexpectedStatus. `completion` may be empty.
    void startRequest(std::shared_ptr<CLGWebRequest> request, uint32_t expected, Completion completion);
    // The same as the two above, waiting on the calling thread, which then calls `completion`.
    void syncStartRequest(std::shared_ptr<CLGWebRequest> request, Completion completion);
    void syncStartRequest(std::shared_ptr<CLGWebRequest> request, uint32_t expected, Completion completion);

    void getPath(const std::string& path, Completion completion);
    void getURL(const std::string& url, Completion completion);
    // A POST of one text field per entry.
    void postFormData(const core::Dictionary& fields, const std::string& path, Completion completion);

    // `path` (a path with an optional query, or an absolute URL) resolved against the base URL: a
    // path starting with "/" replaces the base URL's path.
    std::string resolve(const std::string& path) const;

    // The transactions started and not yet finished.
    size_t runningTransactions() const;

private:
    void prepare(CLGWebRequest& request) const;
    static Completion expecting(uint32_t expected, Completion completion);

    const std::string m_url;
    net::HttpTransfers& m_transfers;
    const std::shared_ptr<core::DispatchQueue> m_queue;
    mutable std::mutex m_lock;
    std::set<std::shared_ptr<CLGWebClientTransaction>> m_connections; // guarded by m_lock
    net::HttpHeaders m_customHeaders;                                  // guarded by m_lock
    std::string m_certificateAuthorities;                              // guarded by m_lock
};

} // namespace zm
