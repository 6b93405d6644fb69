#include "framework/network/RepositoryRequest.h"

#include "foundation/Strings.h"
#include "framework/device/KSPlatform.h"
#include "framework/network/InternetDate.h"

namespace corvane {

using foundation::URLRequest;
using foundation::URLRequestCachePolicy;

URLRequest RepositoryRequest::requestWithURL(const foundation::URL& url, double timeoutSeconds,
                                             std::optional<double> ifModifiedSinceSeconds1970) {
    URLRequest request(url);
    request.cachePolicy = URLRequestCachePolicy::ReloadIgnoringLocalCacheData;
    request.timeoutInterval = timeoutSeconds;
    request.setValue(kUserAgent, "User-Agent");
    request.setValue(KSPlatform::deviceModelID(), "X-Machine");
    request.setValue(KSPlatform::deviceUDID(), "X-Unique-ID");
    request.setValue(KSPlatform::firmwareVersion(), "X-Firmware");
    if (ifModifiedSinceSeconds1970) {
        request.setValue(httpDate(*ifModifiedSinceSeconds1970), "If-Modified-Since");
    }
    return request;
}

URLRequest RepositoryRequest::requestForPageOfRepository(const foundation::URL& url,
                                                         std::string_view repositoryLocation) {
    auto repository = foundation::URL::withString(repositoryLocation);
    if (repository && !repository->host().empty() && repository->scheme() == url.scheme() &&
        foundation::lowercase(repository->host()) == foundation::lowercase(url.host()) &&
        repository->port() == url.port())
        return requestWithURL(url);
    URLRequest request(url);
    request.cachePolicy = URLRequestCachePolicy::ReloadIgnoringLocalCacheData;
    request.timeoutInterval = kDefaultTimeoutSeconds;
    request.setValue(kUserAgent, "User-Agent");
    return request;
}

void RepositoryRequest::installAsProcessFactory() {
    URLRequest::setFactory([](const foundation::URL& url) { return requestWithURL(url); });
}

std::string RepositoryRequest::httpDate(double secondsSince1970) {
    return InternetDate::format(secondsSince1970);
}

foundation::URLSessionConfiguration RepositoryRequest::noCacheConfigureation() {
    auto configuration = foundation::URLSessionConfiguration::ephemeralSessionConfiguration();
    configuration.requestCachePolicy = URLRequestCachePolicy::ReloadIgnoringLocalCacheData;
    return configuration;
}

}  // namespace corvane
