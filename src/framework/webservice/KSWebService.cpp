#include "framework/webservice/KSWebService.h"

#include "foundation/Log.h"
#include "foundation/SharedInstance.h"
#include "framework/webservice/KSWebServiceAddress.h"
#include "framework/webservice/KSWebServiceReply.h"

namespace corvane {

using foundation::Result;
using foundation::URLRequest;
using foundation::Value;

namespace {

foundation::URLSessionConfiguration configuration() {
    auto configuration = foundation::URLSessionConfiguration::ephemeralSessionConfiguration();
    configuration.requestCachePolicy =
        foundation::URLRequestCachePolicy::ReloadIgnoringLocalCacheData;
    configuration.timeoutIntervalForRequest = KSWebService::kTimeoutSeconds;
    configuration.maximumResponseBytes = KSWebService::kMaximumReplyBytes;
    return configuration;
}

}  // namespace

KSWebService& KSWebService::shared() {
    static auto* shared = new foundation::SharedInstance<KSWebService>(
        [] { return std::shared_ptr<KSWebService>(new KSWebService()); });
    return shared->get();
}

KSWebService::KSWebService()
    : session_(std::make_shared<foundation::URLSession>(configuration())) {}

void KSWebService::get(std::string_view path, const Fields& query, Completion completion) {
    send(
        KSWebServiceAddress::endpoint(path, query), [](URLRequest&) {}, std::move(completion));
}

void KSWebService::post(std::string_view path, const Fields& form,
                        const std::optional<std::string>& token, Completion completion) {
    send(
        KSWebServiceAddress::endpoint(path),
        [&](URLRequest& request) {
            request.HTTPMethod = "POST";
            request.setValue("application/x-www-form-urlencoded; charset=utf-8", "Content-Type");
            if (token) {
                request.setValue("Bearer " + *token, "Authorization");
            }
            const std::string body = KSWebServiceForm::encode(form);
            request.HTTPBody.assign(body.begin(), body.end());
        },
        std::move(completion));
}

void KSWebService::deliver(std::function<void()> block) {
    session_->delegateQueue()->addOperationWithBlock(std::move(block));
}

void KSWebService::send(Result<foundation::URL> url,
                        const std::function<void(URLRequest&)>& prepare, Completion completion) {
    if (!url) {
        KSLog("Nothing is sent to the web service: %@", url.error().localizedDescription());
        deliver([completion = std::move(completion), error = url.error()] { completion(error); });
        return;
    }
    URLRequest request(*url);
    request.cachePolicy = foundation::URLRequestCachePolicy::ReloadIgnoringLocalCacheData;
    request.timeoutInterval = kTimeoutSeconds;
    request.setValue("application/json", "Accept");
    prepare(request);
    const std::string address = url->absoluteString();
    session_
        ->dataTaskWithRequest(std::move(request),
                              [address, completion = std::move(completion)](
                                  std::optional<foundation::Bytes> data,
                                  std::optional<foundation::HTTPURLResponse> response,
                                  std::optional<foundation::Error> error) {
                                  auto reply = KSWebServiceReply::interpret(data, response, error);
                                  if (!reply) {
                                      KSLog("The web service request %@ failed: %@", address,
                                            reply.error().localizedDescription());
                                  }
                                  completion(std::move(reply));
                              })
        ->resume();
}

}  // namespace corvane
