#include "framework/depictions/KSExternalChangelog.h"

#include "foundation/Strings.h"
#include "framework/depictions/KSDepictionPageLoader.h"
#include "framework/depictions/KSDepictionsParser.h"
#include "framework/network/KSFetchableURL.h"

namespace corvane {

void KSExternalChangelog::retrieve(std::string_view address, KSDepictionTextCompletion completion) {
    auto url = KSFetchableURL::fromString(address);
    if (!url) {
        answerInBackground<std::optional<std::string>>(completion, std::nullopt);
        return;
    }
    KSDepictionPageLoader::load(*url, [completion](std::optional<foundation::Bytes> body) {
        auto page = body ? KSDepictionsParser::parseHTML(*body) : nullptr;
        completion(page ? changelogOf(*page) : std::nullopt);
    });
}

std::optional<std::string> KSExternalChangelog::changelogOf(const html::HTMLDocument& page) {
    std::optional<std::string> changelog;
    for (const auto& section : page.querySelectorAll("section")) {
        if (section.attribute("class").value_or("").find("content") == std::string::npos)
            continue;
        auto list = section.querySelector("ul");
        if (!list)
            continue;
        std::string text = foundation::trimmed(list->textContent());
        if (!text.empty() && text.find(kFirstReleaseText) == std::string::npos)
            changelog = std::move(text);
    }
    return changelog;
}

}  // namespace corvane
