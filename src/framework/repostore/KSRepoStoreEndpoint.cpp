#include "framework/repostore/KSRepoStoreEndpoint.h"

#include "foundation/Strings.h"
#include "foundation/URLComponents.h"
#include "framework/network/KSFetchableURL.h"

namespace corvane {

std::optional<KSRepoStoreEndpoint> KSRepoStoreEndpoint::withString(std::string_view text) {
    if (text.size() > kMaximumTextBytes)
        return std::nullopt;
    std::string address = foundation::trimmed(text);
    if (!address.ends_with('/'))
        address += '/';
    auto url = foundation::URL::withString(address);
    if (!url || !KSFetchableURL::isFetchable(*url) || url->query() || url->fragment())
        return std::nullopt;
    if (!KSFetchableURL::isEncrypted(*url) && url->host() != kLoopbackHost)
        return std::nullopt;
    return KSRepoStoreEndpoint(std::move(*url));
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
