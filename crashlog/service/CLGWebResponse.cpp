#include "crashlog/service/CLGWebResponse.h"

#include "platform/core/Json.h"

namespace zm {

bool CLGWebResponse::wasSuccessful() const {
    return !error && statusCode >= 200 && statusCode < 300;
}

std::string CLGWebResponse::description() const {
    const std::string bodyText = body.isNull() ? "(null)" : body.asData() ? std::to_string(body.asData()->size()) + " bytes"
                                                                           : core::toJson(body);
    return "{request: " + requestURL + ", status: " + std::to_string(statusCode) + ", body: " + bodyText +
           ", error: " + (error ? error->text() : "(null)") + "}";
}

} // namespace zm
