#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "foundation/URL.h"
#include "foundation/URLRequest.h"

namespace corvane {

// The request of a web depiction page and the name its web view gives in its user agent.
// Repository sites tell devices by the device headers ("X-Cydia-ID", "X-Firmware",
// "X-Unique-ID", "X-Machine", "Payment-Provider") and the package manager's "User-Agent"; those
// identify the device, so they go only to the host of the package's own repository, never to a
// page elsewhere that a depiction address names. "Accept-Language" and the "Dark" mode go to
// any page.
class WebDepictionRequest {
  public:
    static constexpr std::string_view kUserAgentDark = "Telesphoreo APT-HTTP/1.0.592 Dark";
    static constexpr std::string_view kUserAgentLight = "Telesphoreo APT-HTTP/1.0.592 Light";

    // The depiction at url; the repository location names the host that may identify the device.
    static foundation::URLRequest make(const foundation::URL& url,
                                       const std::optional<std::string>& repositoryLocation,
                                       bool dark);
    // Rewrites "User-Agent" (where the device headers went) and "Dark" ("TRUE", or none when
    // light) for the mode.
    static void setMode(foundation::URLRequest& request, bool dark);
    // The request goes to the repository's own host, with the device headers.
    static bool identifiesDevice(const foundation::URLRequest& request);
    // "(Corvane/<version>, like Cydia) (<model>; <system>/<version>) Dark" or "... Light".
    static std::string applicationName(bool dark);

    // The host of the repository location, with the same port where either writes one,
    // whatever the scheme.
    static bool isRepositoryHost(const foundation::URL& url,
                                 const std::optional<std::string>& repositoryLocation);

  private:
    static std::string preferredLanguage();
};

}  // namespace corvane
