#pragma once

#include <memory>
#include <optional>
#include <string>

#include "screens/packages/PackageReviews.h"
#include "ui/core/KSScreenFactory.h"
#include "ui/core/LeaveReviewDelegate.h"
#include "uikit/ViewController.h"

namespace corvane {

class PackageDetailsViews;
class PackagePageModel;

// What the buttons, strips and links of the package page open: the screens about the package
// and its author (through the screen factory), mail to the author, the author's links, or the
// panel that says a link is missing. Only http and https open in the program's browser and
// only a plain address goes to the mail composer; every other link is refused and logged.
// Main thread.
class PackageActions : public std::enable_shared_from_this<PackageActions> {
  public:
    // The host pushes and presents what opens, and shows the panels; the review form reports
    // to the delegate.
    PackageActions(std::weak_ptr<uikit::ViewController> host, PackageReviews::ShowAlert showAlert,
                   std::weak_ptr<LeaveReviewDelegate> reviewDelegate,
                   std::shared_ptr<PackagePageModel> model,
                   std::shared_ptr<PackageReviews> reviews);

    // Ties the buttons of the page's sections to what they open.
    void wireButtons(PackageDetailsViews& views);

    void seeAllReviews();
    void contactDeveloper();
    void leaveReview();
    void seeInstalledFiles();
    void developerWebsite();
    void donate();
    void seeAllDevPackages();
    void showScreenshots();
    // The author's contact page, from the author strip.
    void showAuthor();
    // Another package's own page.
    void showPackage(const std::string& identifier);
    // Stores the package in the wishlist or takes it out, and uploads the wishlist for a
    // signed-in person; the new state, or nothing for a package that is not stored.
    std::optional<bool> changeWishlistState();
    // A link tapped in the description or the changelog of the page titled so.
    void openLink(const std::string& link, const std::string& pageName);

  private:
    KSScreenFactory::Request forPackage() const;
    void push(KSScreenFactory::Screen screen, const KSScreenFactory::Request& request);
    // The author's page at the package's link, or the panel that says there is none.
    void openAuthorLink(const std::string& key, const std::string& title,
                        const std::string& missingTitle, const std::string& missingMessage);
    void showPanel(const std::string& title, const std::string& message);

    std::weak_ptr<uikit::ViewController> host_;
    PackageReviews::ShowAlert showAlert_;
    std::weak_ptr<LeaveReviewDelegate> reviewDelegate_;
    std::shared_ptr<PackagePageModel> model_;
    std::shared_ptr<PackageReviews> reviews_;
};

}  // namespace corvane
