#pragma once

#include <optional>
#include <string>
#include <vector>

#include "foundation/URL.h"
#include "html/HTMLDocument.h"

namespace corvane {

// The Pellith depiction page, the package's "website". Its changelog and its screenshots live
// on pages of their own that the depiction links to:
//   description       the text of "#description", else of ".description"
//   changelog link    the "href" of the first "a.changelog", resolved against the depiction
//   changelog page    the text of "#changelog", else of the body
//   screenshots link  the "href" of the first "a.screenshots", resolved against the depiction
//   screenshots page  the "src" of every "img" in "#screenshots", else of every "img" of the
//                     page, resolved against the screenshots page
class KSPellithLayout {
  public:
    static std::optional<std::string> description(const html::HTMLDocument& page);

    static std::optional<foundation::URL> changelogLink(const html::HTMLDocument& page,
                                                        const foundation::URL& pageURL);
    static std::optional<std::string> changelog(const html::HTMLDocument& changelogPage);

    static std::optional<foundation::URL> screenshotsLink(const html::HTMLDocument& page,
                                                          const foundation::URL& pageURL);
    static std::vector<std::string> screenshots(const html::HTMLDocument& screenshotsPage,
                                                const foundation::URL& screenshotsPageURL);
};

}  // namespace corvane
