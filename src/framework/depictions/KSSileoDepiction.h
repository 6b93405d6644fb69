#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Value.h"
#include "framework/depictions/KSDepictionCompletion.h"

namespace corvane {

// One parsed native (JSON) depiction. The document never changes after loading, so any number
// of retrieves may run on it at once. A malformed document answers nil and empty lists.
//
// The document is a tab view ("tabs": [{"tabname", "views": [...]}]) or a single stack view
// ("views" at the top). Views nest through their own "views"; markdown views carry
// "markdown", header and subheader views "title", screenshot views "screenshots": [{"url"}],
// buttons "title" and "action".
class KSSileoDepiction {
  public:
    explicit KSSileoDepiction(foundation::Value document) : document_(std::move(document)) {}

    // "headerImage" when it is an http or https address.
    void retrieveBannerURLFromSileoDepiction(KSDepictionTextCompletion completion) const;
    // The markdown of the tab named "Changelog" or "Change Log".
    void retrieveChangelogFromSileoDepiction(KSDepictionTextCompletion completion) const;
    // The markdown of the "Details" tab, else of the first tab that is no changelog.
    void retrieveDescriptionFromSileoDepiction(KSDepictionTextCompletion completion) const;
    // The "action" of a view titled "Changelog" outside the changelog tabs.
    void retrieveExternalChangelogFromSileoDepiction(KSDepictionTextCompletion completion) const;
    // The "url" of every "screenshots" entry, in order, http and https only.
    void retrieveScreenshotsFromSileoDepiction(KSDepictionURLsCompletion completion) const;

  private:
    using Views = std::vector<const foundation::Value*>;

    std::optional<std::string> bannerURL() const;
    std::optional<std::string> changelog() const;
    std::optional<std::string> description() const;
    std::optional<std::string> externalChangelogURL() const;
    std::vector<std::string> screenshotURLs() const;

    Views tabs() const;
    static bool isChangelogTab(const foundation::Value& tab);
    // The views below container, depth first, in document order.
    static void collectViews(const foundation::Value& container, Views& views);
    static Views viewsOf(const Views& containers);
    // The Markdown of the tab's markdown views with the titles of its header views as
    // headings, in document order.
    static std::optional<std::string> markdownOf(const foundation::Value& tab);

    const foundation::Value document_;
};

}  // namespace corvane
