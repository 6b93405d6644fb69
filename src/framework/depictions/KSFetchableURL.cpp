#include "framework/depictions/KSFetchableURL.h"

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
    return (url.scheme() == "http" || url.scheme() == "https") && !url.host().empty();
}

}  // namespace corvane
