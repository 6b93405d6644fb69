#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/URL.h"
#include "html/HTMLDocument.h"

namespace corvane {

// The Vostrel depiction site, which serves the packages of the Vostrel and ModMyi repositories:
// one page per package at "<site>/info/<identifier>/" and its changelog at
// "<site>/changelog/<identifier>/". The site writes its image addresses absolute or from the
// site root, so they are resolved against the site address.
//   name            the text of ".package-name", else of the first "h1"
//   description     the text of ".package-description", else of "#description"
//   screenshots     the "src" of every "img" in ".screenshots"
//   changelog page  the text of ".changelog", else of "#changelog"
class KSVostrelLayout {
  public:
    // Overrides the site address (an http or https URL), for a mirror or a test server.
    static constexpr const char* kSiteEnvironmentVariable = "CORVANE_VOSTREL_SITE";
    static constexpr std::string_view kDefaultSite = "http://depictions.vostrel.net/";

    static foundation::URL siteURL();
    // Nil for an identifier that is no package name, which never becomes part of an address.
    static std::optional<foundation::URL> packagePageURL(std::string_view identifier);
    static std::optional<foundation::URL> changelogPageURL(std::string_view identifier);

    static std::optional<std::string> name(const html::HTMLDocument& page);
    static std::optional<std::string> description(const html::HTMLDocument& page);
    static std::vector<std::string> screenshots(const html::HTMLDocument& page);
    static std::optional<std::string> changelog(const html::HTMLDocument& changelogPage);

  private:
    static std::optional<foundation::URL> sitePage(std::string_view folder,
                                                   std::string_view identifier);
};

}  // namespace corvane
