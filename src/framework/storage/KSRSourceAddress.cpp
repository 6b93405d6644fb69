#include "framework/storage/KSRSourceAddress.h"

#include "foundation/Strings.h"
#include "foundation/URL.h"

namespace corvane {

std::optional<std::string> KSRSourceAddress::normalised(std::string_view text) {
    const auto address = foundation::trimmed(text);
    auto schemeEnd = address.find("://");
    std::string scheme = "https";
    std::string rest = address;
    if (schemeEnd != std::string::npos) {
        scheme = foundation::lowercase(address.substr(0, schemeEnd));
        rest = address.substr(schemeEnd + 3);
    }
    if (!foundation::URL::isWebScheme(scheme))
        return std::nullopt;
    if (rest.find_first_of("?#@") != std::string::npos)
        return std::nullopt;
    auto hostEnd = rest.find('/');
    auto host = foundation::lowercase(rest.substr(0, hostEnd));
    auto path = hostEnd == std::string::npos ? std::string("/") : rest.substr(hostEnd);
    if (!foundation::hasSuffix(path, "/"))
        path += "/";
    auto location = scheme + "://" + host + path;
    auto url = foundation::URL::withString(location);
    if (host.empty() || !url || url->host().empty())
        return std::nullopt;
    return location;
}

std::string KSRSourceAddress::withOtherScheme(const std::string& location) {
    if (foundation::hasPrefix(location, "https://"))
        return "http://" + location.substr(8);
    if (foundation::hasPrefix(location, "http://"))
        return "https://" + location.substr(7);
    return location;
}

bool KSRSourceAddress::isPlainHTTP(std::string_view location) {
    return foundation::hasPrefix(location, "http://");
}

}  // namespace corvane
