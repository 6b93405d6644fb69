#include "framework/network/KSFetchableURL.h"

#include "foundation/Strings.h"

namespace corvane {

namespace {

std::optional<foundation::URL> fetchableOnly(std::optional<foundation::URL> url) {
    if (url && KSFetchableURL::isFetchable(*url))
        return url;
    return std::nullopt;
}

}  // namespace

std::optional<foundation::URL> KSFetchableURL::fromString(std::string_view text) {
    return fetchableOnly(foundation::URL::withString(foundation::trimmed(text)));
}

std::optional<foundation::URL> KSFetchableURL::fromString(std::string_view text,
                                                          const foundation::URL& base) {
    return fetchableOnly(foundation::URL::withString(foundation::trimmed(text), base));
}

bool KSFetchableURL::isFetchable(const foundation::URL& url) {
    return url.hasWebScheme() && !url.host().empty();
}

bool KSFetchableURL::isEncrypted(const foundation::URL& url) {
    return isFetchable(url) && url.scheme() == "https";
}

}  // namespace corvane
