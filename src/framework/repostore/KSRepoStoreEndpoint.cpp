#include "framework/repostore/KSRepoStoreEndpoint.h"

#include "foundation/Strings.h"
#include "foundation/URLComponents.h"

namespace corvane {

std::optional<KSRepoStoreEndpoint> KSRepoStoreEndpoint::withString(std::string_view text) {
    if (text.size() > kMaximumTextBytes)
        return std::nullopt;
    std::string address = foundation::trimmed(text);
    if (!address.ends_with('/'))
        address += '/';
    auto url = foundation::URL::withString(address);
    if (!url || url->host().empty() || url->query() || url->fragment())
        return std::nullopt;
    bool loopback = url->scheme() == "http" && url->host() == kLoopbackHost;
    if (url->scheme() != "https" && !loopback)
        return std::nullopt;
    return KSRepoStoreEndpoint(std::move(*url));
}

bool KSRepoStoreEndpoint::isWebAddress(const foundation::URL& url) {
    return (url.scheme() == "http" || url.scheme() == "https") && !url.host().empty();
}

std::optional<foundation::URL> KSRepoStoreEndpoint::urlForPath(
    std::string_view path, const std::vector<foundation::URLQueryItem>& queryItems) const {
    foundation::URLComponents components;
    components.scheme = url_.scheme();
    components.host = url_.host();
    components.port = url_.port();
    components.path = foundation::appendingPathComponent(url_.path(), path);
    components.queryItems = queryItems;
    return components.url();
}

}  // namespace corvane
