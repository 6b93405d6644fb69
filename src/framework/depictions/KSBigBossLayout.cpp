#include "framework/depictions/KSBigBossLayout.h"

#include "framework/depictions/KSDepictionLinks.h"
#include "framework/depictions/KSDepictionText.h"

namespace corvane {

std::optional<std::string> KSBigBossLayout::name(const html::HTMLDocument& page) {
    return KSDepictionText::textOfFirst(page, {"#name", "h1"});
}

std::optional<std::string> KSBigBossLayout::description(const html::HTMLDocument& page) {
    return KSDepictionText::textOfFirst(page, {"#description", ".description"});
}

std::optional<std::string> KSBigBossLayout::changelog(const html::HTMLDocument& page) {
    return KSDepictionText::textOfFirst(page, {"#changelog", ".changelog"});
}

std::vector<std::string> KSBigBossLayout::screenshots(const html::HTMLDocument& page,
                                                      const foundation::URL& pageURL) {
    return KSDepictionLinks::addresses(page, "#screenshots img, .screenshots img", "src", pageURL);
}

}  // namespace corvane
