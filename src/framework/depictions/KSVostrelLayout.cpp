#include "framework/depictions/KSVostrelLayout.h"

#include <cstdlib>

#include "framework/debian/DebianGrammar.h"
#include "framework/depictions/KSDepictionLinks.h"
#include "framework/depictions/KSDepictionText.h"
#include "framework/network/KSFetchableURL.h"

namespace corvane {

foundation::URL KSVostrelLayout::siteURL() {
    if (const char* configured = std::getenv(kSiteEnvironmentVariable))
        if (auto url = KSFetchableURL::fromString(configured))
            return *url;
    return *foundation::URL::withString(kDefaultSite);
}

std::optional<foundation::URL> KSVostrelLayout::packagePageURL(std::string_view identifier) {
    return sitePage("info", identifier);
}

std::optional<foundation::URL> KSVostrelLayout::changelogPageURL(std::string_view identifier) {
    return sitePage("changelog", identifier);
}

std::optional<foundation::URL> KSVostrelLayout::sitePage(std::string_view folder,
                                                         std::string_view identifier) {
    if (!isValidPackageName(identifier))
        return std::nullopt;
    std::string path = "/";
    path.append(folder).append("/").append(identifier).append("/");
    return foundation::URL::withString(path, siteURL());
}

std::optional<std::string> KSVostrelLayout::name(const html::HTMLDocument& page) {
    return KSDepictionText::textOfFirst(page, {".package-name", "h1"});
}

std::optional<std::string> KSVostrelLayout::description(const html::HTMLDocument& page) {
    return KSDepictionText::textOfFirst(page, {".package-description", "#description"});
}

std::vector<std::string> KSVostrelLayout::screenshots(const html::HTMLDocument& page) {
    return KSDepictionLinks::addresses(page, ".screenshots img", "src", siteURL());
}

std::optional<std::string> KSVostrelLayout::changelog(const html::HTMLDocument& changelogPage) {
    return KSDepictionText::textOfFirst(changelogPage, {".changelog", "#changelog"});
}

}  // namespace corvane
