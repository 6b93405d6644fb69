#include "screens/website/WebDepictionRequest.h"

#include <unicode/locid.h>

#include "foundation/Bundle.h"
#include "foundation/Format.h"
#include "foundation/Strings.h"
#include "framework/device/KSPlatform.h"
#include "uikit/Device.h"

namespace corvane {

namespace {

constexpr const char* kDeviceMarker = "X-Cydia-ID";

}  // namespace

foundation::URLRequest WebDepictionRequest::make(
    const foundation::URL& url, const std::optional<std::string>& repositoryLocation, bool dark) {
    foundation::URLRequest request(url);
    if (isRepositoryHost(url, repositoryLocation)) {
        request.setValue(KSPlatform::deviceUDID(), kDeviceMarker);
        request.setValue(KSPlatform::firmwareVersion(), "X-Firmware");
        request.setValue(KSPlatform::deviceUDID(), "X-Unique-ID");
        request.setValue(KSPlatform::deviceModelID(), "X-Machine");
        request.setValue("API", "Payment-Provider");
    }
    request.setValue(preferredLanguage(), "Accept-Language");
    setMode(request, dark);
    return request;
}

// The package manager's user agent goes where the device headers went: the web view's own
// user agent serves every other host.
void WebDepictionRequest::setMode(foundation::URLRequest& request, bool dark) {
    if (identifiesDevice(request))
        request.setValue(dark ? kUserAgentDark : kUserAgentLight, "User-Agent");
    request.setValue(dark ? std::optional<std::string_view>("TRUE") : std::nullopt, "Dark");
}

bool WebDepictionRequest::identifiesDevice(const foundation::URLRequest& request) {
    return request.valueForHTTPHeaderField(kDeviceMarker).has_value();
}

std::string WebDepictionRequest::applicationName(bool dark) {
    const auto& device = uikit::Device::current();
    return foundation::format("(Corvane/%@, like Cydia) (%@; %@/%@) %@",
                              foundation::Bundle::shortVersion(), device.model(),
                              device.systemName(), device.systemVersion(), dark ? "Dark" : "Light");
}

bool WebDepictionRequest::isRepositoryHost(const foundation::URL& url,
                                           const std::optional<std::string>& repositoryLocation) {
    const auto repository =
        repositoryLocation ? foundation::URL::withString(*repositoryLocation) : std::nullopt;
    return repository && !url.host().empty() &&
           foundation::caseInsensitiveEquals(url.host(), repository->host()) &&
           url.port() == repository->port();
}

// The language the system runs in, as a language tag ("en-US").
std::string WebDepictionRequest::preferredLanguage() {
    const icu::Locale& locale = icu::Locale::getDefault();
    const std::string language = locale.getLanguage();
    if (language.empty())
        return "en";
    const std::string country = locale.getCountry();
    return country.empty() ? language : language + "-" + country;
}

}  // namespace corvane
