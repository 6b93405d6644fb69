#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "foundation/URL.h"
#include "framework/depictions/KSDepictionCompletion.h"
#include "html/HTMLDocument.h"

namespace corvane {

// One parsed HTML depiction page, read by the layout of its repository (KSBigBossLayout,
// KSPellithLayout, KSVostrelLayout). Retrieves may run on it at once from any thread. A page
// that could not be parsed answers nil and empty lists. Links are followed over http and https
// only.
class KSHTMLDepiction {
  public:
    explicit KSHTMLDepiction(std::shared_ptr<const html::HTMLDocument> page)
        : page_(std::move(page)) {}

    void retrieveDescriptionFromPellithDepiction(KSDepictionTextCompletion completion) const;
    // pageURL: the depiction's own address, against which its links are resolved.
    void retrieveChangelogFromPellithDepictionForPackageWithURL(
        const std::string& pageURL, KSDepictionTextCompletion completion) const;
    void retrieveScreenshotsFromPellithDepictionForPackageWithURL(
        const std::string& pageURL, KSDepictionURLsCompletion completion) const;

    void retrieveNameFromBigBossDepiction(KSDepictionTextCompletion completion) const;
    void retrieveDescriptionFromBigBossDepiction(KSDepictionTextCompletion completion) const;
    void retrieveChangelogFromBigBossDepiction(KSDepictionTextCompletion completion) const;
    void retrieveScreenshotsFromBigBossDepictionForPackageWithURL(
        const std::string& pageURL, KSDepictionURLsCompletion completion) const;

    void retrieveNameFromVostrelTypeDepiction(KSDepictionTextCompletion completion) const;
    void retrieveDescriptionFromVostrelTypeDepiction(KSDepictionTextCompletion completion) const;
    // Fetches the site's changelog page of the package.
    void retrieveChangelogFromVostrelTypeDepictionForPackageWithIdentifier(
        const std::string& identifier, KSDepictionTextCompletion completion) const;
    void retrieveScreenshotsFromVostrelTypeDepiction(KSDepictionURLsCompletion completion) const;

  private:
    // What read answers from the page; nil or empty without one.
    template <typename Result, typename Read>
    Result fromPage(Read read) const {
        return page_ ? read(*page_) : Result{};
    }
    std::optional<foundation::URL> link(
        const std::string& pageURL,
        std::optional<foundation::URL> (*find)(const html::HTMLDocument&,
                                               const foundation::URL&)) const;
    // Fetches and parses url, then answers with read's view of it.
    template <typename Result, typename Read>
    static void follow(const std::optional<foundation::URL>& url,
                       const std::function<void(Result)>& completion, Read read);

    const std::shared_ptr<const html::HTMLDocument> page_;
};

}  // namespace corvane
