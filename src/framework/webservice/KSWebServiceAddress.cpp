#include "framework/webservice/KSWebServiceAddress.h"

#include <cstdlib>
#include <optional>
#include <string>

#include "foundation/Format.h"
#include "foundation/Strings.h"
#include "foundation/URLComponents.h"
#include "framework/network/KSFetchableURL.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/webservice/KSWebServiceError.h"

namespace corvane {

using foundation::Error;
using foundation::URL;

namespace {

std::optional<std::string> configuredText() {
    const char* environment = std::getenv(KSWebServiceAddress::kEnvironmentVariable);
    if (environment && *environment) {
        return foundation::trimmed(environment);
    }
    auto preference = CorvanePersistentPreferences::sharedInstance().stringForKey(
        KSWebServiceAddress::kPreferenceKey);
    if (preference && !foundation::trimmed(*preference).empty()) {
        return foundation::trimmed(*preference);
    }
    return std::nullopt;
}

bool isBaseAddress(const URL& url) {
    return KSFetchableURL::isFetchable(url) && !url.query() && !url.fragment();
}

}  // namespace

foundation::Result<URL> KSWebServiceAddress::baseURL() {
    auto text = configuredText();
    if (!text) {
        return Error::make(KSWebServiceError::kDomain, KSWebServiceError::NoAddress,
                           foundation::format("No web service address is set: set the preference "
                                              "\"%@\" or the environment variable %@",
                                              kPreferenceKey, kEnvironmentVariable));
    }
    auto url = URL::withString(*text);
    if (!url || !isBaseAddress(*url)) {
        return Error::make(KSWebServiceError::kDomain, KSWebServiceError::UnsupportedAddress,
                           foundation::format("The web service address \"%@\" is not an http or "
                                              "https address without query or fragment",
                                              *text));
    }
    return *url;
}

foundation::Result<URL> KSWebServiceAddress::endpoint(std::string_view path,
                                                      const KSWebServiceForm::Fields& query) {
    auto base = baseURL();
    FOUNDATION_RETURN_IF_ERROR(base);
    foundation::URLComponents components;
    components.scheme = base->scheme();
    components.host = base->host();
    components.port = base->port();
    std::string basePath = base->path();
    components.path = (basePath == "/" ? "" : basePath) + "/" + std::string(path);
    auto url = components.url();
    if (url && !query.empty()) {
        url = URL::withString(url->absoluteString() + "?" + KSWebServiceForm::encode(query));
    }
    if (!url) {
        return Error::make(KSWebServiceError::kDomain, KSWebServiceError::UnsupportedAddress,
                           foundation::format("No address can be made for the web service "
                                              "endpoint \"%@\"",
                                              path));
    }
    return *url;
}

}  // namespace corvane
