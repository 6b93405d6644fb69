#include "framework/webservice/KSWebServiceReply.h"

#include "foundation/Format.h"
#include "foundation/JSON.h"
#include "framework/webservice/KSWebServiceError.h"
#include "framework/webservice/KSWebServiceFields.h"

namespace corvane {

using foundation::Error;
using foundation::JSON;
using foundation::Value;

namespace {

// The service's own text goes into logs and alerts, so a long one is cut (never inside a
// UTF-8 sequence).
constexpr std::size_t kMaximumErrorTextBytes = 200;

std::string shortened(std::string text) {
    if (text.size() <= kMaximumErrorTextBytes) {
        return text;
    }
    std::size_t end = kMaximumErrorTextBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return text.substr(0, end) + "...";
}

Error statusError(long status, const foundation::Bytes& body) {
    auto document = JSON::parse(body);
    std::string description =
        foundation::format("The web service answered with status %ld", status);
    if (document && isPresentText((*document)["error"])) {
        description += ": " + shortened((*document)["error"].stringValue());
    }
    return Error::make(KSWebServiceError::kDomain, KSWebServiceError::BadStatus, description);
}

}  // namespace

foundation::Result<Value> KSWebServiceReply::interpret(
    const std::optional<foundation::Bytes>& data,
    const std::optional<foundation::HTTPURLResponse>& response, const std::optional<Error>& error) {
    if (error) {
        return *error;
    }
    const foundation::Bytes body = data.value_or(foundation::Bytes{});
    if (!response || response->statusCode < 200 || response->statusCode > 299) {
        return statusError(response ? response->statusCode : 0, body);
    }
    auto document = JSON::parse(body);
    if (!document) {
        return Error::make(
            KSWebServiceError::kDomain, KSWebServiceError::MalformedReply,
            "The web service reply is not JSON: " + document.error().localizedDescription());
    }
    return std::move(*document);
}

std::optional<std::string> KSWebServiceReply::answer(const foundation::Result<Value>& reply) {
    if (!reply) {
        return std::nullopt;
    }
    return KSWebServiceFields::text((*reply)["answer"]);
}

}  // namespace corvane
