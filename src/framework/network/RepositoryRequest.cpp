#include "framework/network/RepositoryRequest.h"

#include <array>
#include <cmath>
#include <ctime>

#include "foundation/Format.h"
#include "foundation/Strings.h"
#include "framework/misc/KSPlatform.h"

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
    // Spelled out here rather than through strftime, whose names follow the process locale.
    static constexpr std::array<const char*, 7> kDays = {"Sun", "Mon", "Tue", "Wed",
                                                         "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto seconds = static_cast<std::time_t>(std::floor(secondsSince1970));
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    return foundation::format("%s, %02d %s %04d %02d:%02d:%02d GMT", kDays[utc.tm_wday],
                              utc.tm_mday, kMonths[utc.tm_mon], utc.tm_year + 1900, utc.tm_hour,
                              utc.tm_min, utc.tm_sec);
}

foundation::URLSessionConfiguration RepositoryRequest::noCacheConfigureation() {
    auto configuration = foundation::URLSessionConfiguration::ephemeralSessionConfiguration();
    configuration.requestCachePolicy = URLRequestCachePolicy::ReloadIgnoringLocalCacheData;
    return configuration;
}

}  // namespace corvane
