#include "framework/depictions/KSHTMLDepiction.h"

#include "framework/depictions/KSBigBossLayout.h"
#include "framework/depictions/KSDepictionPageLoader.h"
#include "framework/depictions/KSDepictionsParser.h"
#include "framework/depictions/KSPellithLayout.h"
#include "framework/depictions/KSVostrelLayout.h"

namespace corvane {

using html::HTMLDocument;
using Text = std::optional<std::string>;
using URLs = std::vector<std::string>;

template <typename Result, typename Read>
void KSHTMLDepiction::follow(const std::optional<foundation::URL>& url,
                             const std::function<void(Result)>& completion, Read read) {
    if (!completion)
        return;
    if (!url) {
        answerInBackground(completion, Result{});
        return;
    }
    KSDepictionPageLoader::load(*url, [completion, read, url = *url](auto body) {
        const auto page = body ? KSDepictionsParser::parseHTML(*body) : nullptr;
        completion(page ? read(*page, url) : Result{});
    });
}

std::optional<foundation::URL> KSHTMLDepiction::link(
    const std::string& pageURL,
    std::optional<foundation::URL> (*find)(const HTMLDocument&, const foundation::URL&)) const {
    const auto base = foundation::URL::withString(pageURL);
    if (!page_ || !base)
        return std::nullopt;
    return find(*page_, *base);
}

void KSHTMLDepiction::retrieveDescriptionFromPellithDepiction(
    KSDepictionTextCompletion completion) const {
    answerInBackground(completion, fromPage<Text>(KSPellithLayout::description));
}

void KSHTMLDepiction::retrieveChangelogFromPellithDepictionForPackageWithURL(
    const std::string& pageURL, KSDepictionTextCompletion completion) const {
    follow(link(pageURL, KSPellithLayout::changelogLink), completion,
           [](const HTMLDocument& page, const foundation::URL&) {
               return KSPellithLayout::changelog(page);
           });
}

void KSHTMLDepiction::retrieveScreenshotsFromPellithDepictionForPackageWithURL(
    const std::string& pageURL, KSDepictionURLsCompletion completion) const {
    follow(link(pageURL, KSPellithLayout::screenshotsLink), completion,
           KSPellithLayout::screenshots);
}

void KSHTMLDepiction::retrieveNameFromBigBossDepiction(KSDepictionTextCompletion completion) const {
    answerInBackground(completion, fromPage<Text>(KSBigBossLayout::name));
}

void KSHTMLDepiction::retrieveDescriptionFromBigBossDepiction(
    KSDepictionTextCompletion completion) const {
    answerInBackground(completion, fromPage<Text>(KSBigBossLayout::description));
}

void KSHTMLDepiction::retrieveChangelogFromBigBossDepiction(
    KSDepictionTextCompletion completion) const {
    answerInBackground(completion, fromPage<Text>(KSBigBossLayout::changelog));
}

void KSHTMLDepiction::retrieveScreenshotsFromBigBossDepictionForPackageWithURL(
    const std::string& pageURL, KSDepictionURLsCompletion completion) const {
    const auto base = foundation::URL::withString(pageURL);
    answerInBackground(completion, fromPage<URLs>([&](const HTMLDocument& page) {
                           return base ? KSBigBossLayout::screenshots(page, *base) : URLs{};
                       }));
}

void KSHTMLDepiction::retrieveNameFromVostrelTypeDepiction(
    KSDepictionTextCompletion completion) const {
    answerInBackground(completion, fromPage<Text>(KSVostrelLayout::name));
}

void KSHTMLDepiction::retrieveDescriptionFromVostrelTypeDepiction(
    KSDepictionTextCompletion completion) const {
    answerInBackground(completion, fromPage<Text>(KSVostrelLayout::description));
}

void KSHTMLDepiction::retrieveChangelogFromVostrelTypeDepictionForPackageWithIdentifier(
    const std::string& identifier, KSDepictionTextCompletion completion) const {
    follow(KSVostrelLayout::changelogPageURL(identifier), completion,
           [](const HTMLDocument& page, const foundation::URL&) {
               return KSVostrelLayout::changelog(page);
           });
}

void KSHTMLDepiction::retrieveScreenshotsFromVostrelTypeDepiction(
    KSDepictionURLsCompletion completion) const {
    answerInBackground(completion, fromPage<URLs>(KSVostrelLayout::screenshots));
}

}  // namespace corvane
