#include "framework/depictions/KSDepictionLinks.h"

#include "framework/network/KSFetchableURL.h"

namespace corvane {

namespace {

std::optional<foundation::URL> addressOf(const html::HTMLElement& element,
                                         std::string_view attribute, const foundation::URL& base) {
    const auto value = element.attribute(attribute);
    return value ? KSFetchableURL::fromString(*value, base) : std::nullopt;
}

}  // namespace

std::vector<std::string> KSDepictionLinks::addresses(const html::HTMLDocument& document,
                                                     std::string_view selectors,
                                                     std::string_view attribute,
                                                     const foundation::URL& base) {
    std::vector<std::string> found;
    for (const auto& element : document.querySelectorAll(selectors))
        if (auto url = addressOf(element, attribute, base))
            found.push_back(url->absoluteString());
    return found;
}

std::optional<foundation::URL> KSDepictionLinks::firstAddress(const html::HTMLDocument& document,
                                                              std::string_view selectors,
                                                              std::string_view attribute,
                                                              const foundation::URL& base) {
    for (const auto& element : document.querySelectorAll(selectors))
        if (auto url = addressOf(element, attribute, base))
            return url;
    return std::nullopt;
}

}  // namespace corvane
