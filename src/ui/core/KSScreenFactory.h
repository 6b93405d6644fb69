#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/URL.h"
#include "framework/packagemanager/KSPackageListCategory.h"
#include "framework/storage/KSRDeveloper.h"
#include "framework/webservice/KSDeveloperProfile.h"
#include "ui/core/LeaveReviewDelegate.h"
#include "uikit/Image.h"
#include "uikit/ViewController.h"

namespace corvane {

// The screens that cells, presentations and URLs open without including them. Each area registers
// the builder of its screen when it is part of the program; until then a request is refused
// with a log line and nothing is shown. The process reset removes every builder.
class KSScreenFactory {
  public:
    enum class Screen {
        queueConfirmation,  // PackagesConfirmationViewController
        taskList,           // TasksViewController, shown from a gesture (with a close button)
        news,               // NewsViewController
        packageList,        // PackagesTableViewController with the request's category and inputs
        website,            // WebViewViewController, presented
        packagePage,        // PackageDetailsViewController for packageIdentifier
        webDepiction,       // WebDepictionViewController for packageIdentifier at websiteURL
        sourcePage,         // SourceViewController for sourceLocation
        developerDetails,   // DeveloperDetailsViewController for developerProfile
        importedArchive,    // ImportedPackageViewController for the archive at archivePath
        allReviews,         // AllReviewsViewController for packageIdentifier and maintainer
        contactDeveloper,   // ContactDeveloperViewController for the contact fields
        leaveReview,  // LeaveReviewViewController for packageIdentifier, told leaveReviewDelegate
        developerPackages,  // AllDevPackagesViewController for maintainer, titled title
        installedFiles,     // InstalledFilesViewController for packageIdentifier
        screenshots,        // PackageScreenshotsViewController over screenshotsDictionary
    };

    // What the screen is asked to show; each screen reads its own fields.
    struct Request {
        std::optional<std::string> title;
        // The package list's inputs.
        KSPackageListCategory category;
        std::optional<std::string> subcategory;
        std::optional<std::string> search;
        std::optional<KSRDeveloper> followedDeveloper;
        std::vector<std::string> newsSourcePackagesToShow;
        std::vector<std::string> downloadsHistory;
        // Opened from a screen whose navigation bar is hidden.
        bool isComingFromFeatured = false;
        std::optional<foundation::URL> websiteURL;
        std::string packageIdentifier;
        // Also the source of a package list's source and purchased lists; empty for none.
        std::string sourceLocation;
        std::optional<KSDeveloperProfile> developerProfile;
        // The file another application handed over, as that application named it.
        std::string archivePath;
        // Shown modally in a navigation controller of its own, so it carries a close button.
        bool isPresented = false;
        // A package's "maintainer" text, matched exactly.
        std::optional<std::string> maintainer;
        // The contact page's fields.
        std::shared_ptr<uikit::Image> developerAvatar;
        std::optional<std::string> developerName;
        std::optional<std::string> email;
        std::optional<std::string> packageName;
        std::optional<foundation::URL> twitter;
        std::optional<foundation::URL> donateLink;
        // Screenshot number (from 1, in address order) to image.
        std::map<int, std::shared_ptr<uikit::Image>> screenshotsDictionary;
        std::weak_ptr<LeaveReviewDelegate> leaveReviewDelegate;
    };

    using Builder = std::function<std::shared_ptr<uikit::ViewController>(const Request&)>;

    // Replaces an earlier builder of the screen; an empty builder removes it.
    static void registerScreen(Screen screen, Builder builder);
    // The new screen, or null (logged) while none is registered.
    static std::shared_ptr<uikit::ViewController> make(Screen screen, const Request& request);
    static std::shared_ptr<uikit::ViewController> make(Screen screen);
};

}  // namespace corvane
