#include "framework/depictions/KSDepictionPageLoader.h"

#include <memory>

#include "foundation/Dispatch.h"
#include "foundation/Log.h"
#include "foundation/URLSession.h"
#include "framework/network/KSFetchableURL.h"
#include "framework/network/RepositoryRequest.h"

namespace corvane {

namespace {

foundation::URLSession& pageSession() {
    static foundation::URLSession session([] {
        auto configuration = RepositoryRequest::noCacheConfigureation();
        configuration.maximumResponseBytes = KSDepictionPageLoader::kMaximumPageBytes;
        configuration.timeoutIntervalForResource = KSDepictionPageLoader::kTimeoutSeconds;
        return configuration;
    }());
    return session;
}

bool succeeded(const std::optional<foundation::HTTPURLResponse>& response) {
    return response && response->statusCode >= 200 && response->statusCode < 300;
}

}  // namespace

void KSDepictionPageLoader::load(const foundation::URL& url, Completion completion) {
    auto request = RepositoryRequest::requestForPageOfRepository(url, "");
    request.timeoutInterval = kTimeoutSeconds;
    load(std::move(request), std::move(completion));
}

void KSDepictionPageLoader::load(foundation::URLRequest request, Completion completion) {
    if (!KSFetchableURL::isFetchable(request.url)) {
        KSLog("Not following the depiction link %s", request.url.absoluteString());
        foundation::runOnDefaultQueue([completion] { completion(std::nullopt); });
        return;
    }
    pageSession()
        .dataTaskWithRequest(
            std::move(request),
            [completion](auto data, auto response, auto error) {
                if (error)
                    KSLog("Error : %s", error->localizedDescription());
                if (!succeeded(response))
                    data.reset();
                foundation::runOnDefaultQueue([completion, data = std::move(data)]() mutable {
                    completion(std::move(data));
                });
            })
        ->resume();
}

}  // namespace corvane
