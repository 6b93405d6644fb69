#pragma once

#include <optional>
#include <string>

#include "foundation/URL.h"
#include "ui/core/KSScreenFactory.h"

namespace corvane {

class PackageDetailsViewController;

// What the buttons, strips and links of the package page open: the screens about the package
// and its author (through the screen factory), mail to the author, the author's links, or the
// panel that says a link is missing. Only http and https open in the program's browser and
// only a plain address goes to the mail composer; every other link is refused and logged.
// Main thread.
class PackageActions {
  public:
    static void seeAllReviews(PackageDetailsViewController& page);
    static void contactDeveloper(PackageDetailsViewController& page);
    static void leaveReview(PackageDetailsViewController& page);
    static void seeInstalledFiles(PackageDetailsViewController& page);
    static void developerWebsite(PackageDetailsViewController& page);
    static void donate(PackageDetailsViewController& page);
    static void seeAllDevPackages(PackageDetailsViewController& page);
    static void showScreenshots(PackageDetailsViewController& page);
    // The author's contact page, from the author strip.
    static void showAuthor(PackageDetailsViewController& page);
    // A link tapped in the description or the changelog.
    static void openLink(PackageDetailsViewController& page, const std::string& link);

  private:
    static void push(PackageDetailsViewController& page, KSScreenFactory::Screen screen,
                     const KSScreenFactory::Request& request);
    // The author's page at the package's link, or the panel that says there is none.
    static void openAuthorLink(PackageDetailsViewController& page, const std::string& key,
                               const std::string& title, const std::string& missingTitle,
                               const std::string& missingMessage);
    static void showPanel(PackageDetailsViewController& page, const std::string& title,
                          const std::string& message);
};

}  // namespace corvane
