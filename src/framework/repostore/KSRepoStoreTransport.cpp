#include "framework/repostore/KSRepoStoreTransport.h"

#include "foundation/Format.h"
#include "foundation/JSON.h"
#include "framework/network/KSFetchableURL.h"
#include "framework/network/RepositoryRequest.h"
#include "framework/repostore/KSRepoStoreEndpoint.h"
#include "framework/repostore/KSRepoStoreError.h"

namespace corvane {

namespace {

foundation::URLSessionConfiguration configuration() {
    auto configuration = RepositoryRequest::noCacheConfigureation();
    configuration.maximumResponseBytes = KSRepoStoreTransport::kMaximumReplyBytes;
    return configuration;
}

foundation::Error communicationFailed(long status) {
    return KSRepoStoreError::make(
        KSRepoStoreError::CommunicationFailed,
        foundation::format("Communication with the server failed (%ld)", status));
}

}  // namespace

KSRepoStoreTransport::KSRepoStoreTransport()
    : session_(std::make_shared<foundation::URLSession>(configuration())) {}

void KSRepoStoreTransport::post(const foundation::URL& url, const foundation::Value& body,
                                ReplyHandler handler) {
    auto request = RepositoryRequest::requestWithURL(url);
    request.HTTPMethod = "POST";
    request.setValue("application/json", "Content-Type");
    request.setValue("application/json", "Accept");
    const std::string json = foundation::JSON::serialize(body);
    request.HTTPBody.assign(json.begin(), json.end());
    session_
        ->dataTaskWithRequest(std::move(request),
                              [handler](auto data, auto response, auto error) {
                                  handler(sort(data, response, error));
                              })
        ->resume();
}

void KSRepoStoreTransport::get(const foundation::URL& url, TextHandler handler) {
    session_
        ->dataTaskWithRequest(RepositoryRequest::requestWithURL(url),
                              [handler](auto data, auto response, auto error) {
                                  if (error || !response)
                                      return handler(false, 0, std::nullopt);
                                  if (response->statusCode != 200 || !data)
                                      return handler(true, response->statusCode, std::nullopt);
                                  handler(true, 200, std::string(data->begin(), data->end()));
                              })
        ->resume();
}

void KSRepoStoreTransport::deliver(std::function<void()> block) {
    session_->delegateQueue()->addOperationWithBlock(std::move(block));
}

KSRepoStoreReply KSRepoStoreTransport::sort(
    const std::optional<foundation::URLSessionDataTask::Data>& data,
    const std::optional<foundation::HTTPURLResponse>& response,
    const std::optional<foundation::Error>& error) {
    KSRepoStoreReply reply;
    if (error || !response) {
        reply.error = communicationFailed(error ? error->code : 0);
        return reply;
    }
    auto parsed = foundation::JSON::parse(data.value_or(foundation::Bytes{}));
    if (parsed && parsed->isDictionary()) {
        reply.document = std::move(*parsed);
        readCommonFields(reply);
    }
    long status = response->statusCode;
    if (status != 200 && status != 304) {
        reply.error = communicationFailed(status);
        reply.document = {};
    } else if (!reply.document.isDictionary()) {
        reply.error =
            KSRepoStoreError::make(KSRepoStoreError::ParseFailed, "Failed to parse response");
    } else {
        reply.failed = false;
    }
    return reply;
}

void KSRepoStoreTransport::readCommonFields(KSRepoStoreReply& reply) {
    const auto& document = reply.document;
    reply.invalidate = document["invalidate"].boolValue();
    if (foundation::isPresentText(document["error"])) {
        std::string text = *document["error"].string();
        if (text.size() > kMaximumErrorTextBytes) {
            std::size_t end = kMaximumErrorTextBytes;
            while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
                --end;  // never inside a character
            text.resize(end);
        }
        reply.error = KSRepoStoreError::make(KSRepoStoreError::EndpointError, std::move(text));
    }
    if (const auto* recovery = document["recovery_url"].string()) {
        auto url = foundation::URL::withString(*recovery);
        if (url && KSFetchableURL::isFetchable(*url))
            reply.recoveryURL = std::move(url);
    }
}

}  // namespace corvane
