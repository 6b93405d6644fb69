#include "framework/depictions/KSPellithLayout.h"

#include "framework/depictions/KSDepictionLinks.h"
#include "framework/depictions/KSDepictionText.h"

namespace corvane {

std::optional<std::string> KSPellithLayout::description(const html::HTMLDocument& page) {
    return KSDepictionText::textOfFirst(page, {"#description", ".description"});
}

std::optional<foundation::URL> KSPellithLayout::changelogLink(const html::HTMLDocument& page,
                                                              const foundation::URL& pageURL) {
    return KSDepictionLinks::firstAddress(page, "a.changelog", "href", pageURL);
}

std::optional<std::string> KSPellithLayout::changelog(const html::HTMLDocument& changelogPage) {
    return KSDepictionText::textOfFirst(changelogPage, {"#changelog", "body"});
}

std::optional<foundation::URL> KSPellithLayout::screenshotsLink(const html::HTMLDocument& page,
                                                                const foundation::URL& pageURL) {
    return KSDepictionLinks::firstAddress(page, "a.screenshots", "href", pageURL);
}

std::vector<std::string> KSPellithLayout::screenshots(const html::HTMLDocument& screenshotsPage,
                                                      const foundation::URL& screenshotsPageURL) {
    const char* selectors =
        screenshotsPage.querySelector("#screenshots") ? "#screenshots img" : "img";
    return KSDepictionLinks::addresses(screenshotsPage, selectors, "src", screenshotsPageURL);
}

}  // namespace corvane
