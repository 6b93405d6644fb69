#include "screens/KSScreens.h"

#include "foundation/Log.h"
#include "framework/debian/DebianGrammar.h"
#include "framework/network/KSFetchableURL.h"
#include "screens/archive/ImportedPackageViewController.h"
#include "screens/developers/ContactDeveloperViewController.h"
#include "screens/developers/DeveloperDetailsViewController.h"
#include "screens/news/NewsViewController.h"
#include "screens/packages/AllDevPackagesViewController.h"
#include "screens/packages/InstalledFilesViewController.h"
#include "screens/packages/PackageDetailsViewController.h"
#include "screens/packages/PackageScreenshotsViewController.h"
#include "screens/packages/PackagesTableViewController.h"
#include "screens/queue/PackagesConfirmationViewController.h"
#include "screens/reviews/AllReviewsViewController.h"
#include "screens/reviews/LeaveReviewViewController.h"
#include "screens/sources/SourceViewController.h"
#include "screens/tasks/TasksViewController.h"
#include "screens/website/WebDepictionViewController.h"
#include "screens/website/WebViewViewController.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/NavigationController.h"

namespace corvane {

namespace {

// The identifier names cache files and reaches the repository's services: one that is no package
// name opens nothing.
std::shared_ptr<uikit::ViewController> makePackagePage(const KSScreenFactory::Request& request) {
    if (!isValidPackageName(request.packageIdentifier)) {
        KSLog("Refused to open the package \"%@\": not a package name", request.packageIdentifier);
        return nullptr;
    }
    auto page = std::make_shared<PackageDetailsViewController>();
    page->setPackageIdentifier(request.packageIdentifier);
    if (request.title)
        page->setTitle(*request.title);
    if (!request.isPresented)
        return page;
    page->setIsComingFromURLScheme(true);
    return uikit::NavigationController::create(page);
}

// Only a web address becomes the page's request.
std::shared_ptr<uikit::ViewController> makeWebDepiction(const KSScreenFactory::Request& request) {
    auto page = std::make_shared<WebDepictionViewController>();
    page->setPackageIdentifier(request.packageIdentifier);
    if (request.websiteURL && KSFetchableURL::isFetchable(*request.websiteURL))
        page->setWebsiteURL(request.websiteURL);
    page->setViewTitle(request.title);
    if (!request.isPresented)
        return page;
    page->setIsPresented(true);
    return uikit::NavigationController::create(page);
}

std::shared_ptr<uikit::ViewController> makePackageList(const KSScreenFactory::Request& request) {
    auto list = std::make_shared<PackagesTableViewController>();
    list->setTitle(request.title);
    list->setCategory(request.category);
    list->setSubcategory(request.subcategory);
    list->setSearch(request.search);
    if (!request.sourceLocation.empty())
        list->setSourceLocation(request.sourceLocation);
    list->setFollowedDeveloper(request.followedDeveloper);
    list->setNewsSourcePackagesToShow(request.newsSourcePackagesToShow);
    list->setDownloadsHistory(request.downloadsHistory);
    list->setIsComingFromFeatured(request.isComingFromFeatured);
    return list;
}

std::shared_ptr<uikit::ViewController> makeDeveloperPackages(
    const KSScreenFactory::Request& request) {
    auto packages = std::make_shared<AllDevPackagesViewController>();
    packages->setMaintainer(request.maintainer);
    packages->setTitleString(request.title);
    return packages;
}

std::shared_ptr<uikit::ViewController> makeInstalledFiles(const KSScreenFactory::Request& request) {
    auto files = std::make_shared<InstalledFilesViewController>();
    files->setPackageIdentifier(request.packageIdentifier);
    return files;
}

std::shared_ptr<uikit::ViewController> makeScreenshots(const KSScreenFactory::Request& request) {
    auto screenshots = std::make_shared<PackageScreenshotsViewController>();
    screenshots->setScreenshotsDictionary(request.screenshotsDictionary);
    return screenshots;
}

std::shared_ptr<uikit::ViewController> makeWebsite(const KSScreenFactory::Request& request) {
    auto website = std::make_shared<WebViewViewController>();
    website->setViewTitle(request.title);
    website->setWebsiteURL(request.websiteURL);
    website->setIsPresented(request.isPresented);
    return website;
}

std::shared_ptr<uikit::ViewController> makeAllReviews(const KSScreenFactory::Request& request) {
    auto reviews = std::make_shared<AllReviewsViewController>();
    reviews->setPackageIdentifier(request.packageIdentifier);
    reviews->setMaintainer(request.maintainer);
    return reviews;
}

std::shared_ptr<uikit::ViewController> makeLeaveReview(const KSScreenFactory::Request& request) {
    auto form = std::make_shared<LeaveReviewViewController>();
    form->setPackageIdentifier(request.packageIdentifier);
    form->setDelegate(request.leaveReviewDelegate);
    return form;
}

std::shared_ptr<uikit::ViewController> makeContactDeveloper(
    const KSScreenFactory::Request& request) {
    auto contact = std::make_shared<ContactDeveloperViewController>();
    contact->setDeveloperAvatar(request.developerAvatar);
    contact->setDeveloperName(request.developerName);
    contact->setEmail(request.email);
    contact->setPackageName(request.packageName);
    contact->setTwitter(request.twitter);
    contact->setDonateLink(request.donateLink);
    return contact;
}

std::shared_ptr<uikit::ViewController> makeDeveloperDetails(
    const KSScreenFactory::Request& request) {
    auto developer = std::make_shared<DeveloperDetailsViewController>();
    developer->setDeveloperProfile(request.developerProfile);
    developer->setIsShownModally(request.isPresented);
    return developer;
}

// Shown from the floating panel's gesture, presented in a navigation controller of its own.
std::shared_ptr<uikit::ViewController> makeTaskList(const KSScreenFactory::Request&) {
    auto tasks = std::make_shared<TasksViewController>();
    tasks->setShownFromGesture(true);
    return tasks;
}

// An empty location opens the page that adds a source.
std::shared_ptr<uikit::ViewController> makeSourcePage(const KSScreenFactory::Request& request) {
    auto page = std::make_shared<SourceViewController>();
    if (!request.sourceLocation.empty())
        page->setSourceLocation(request.sourceLocation);
    page->setIsPresented(request.isPresented);
    return page;
}

}  // namespace

void registerScreens() {
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::packagePage, makePackagePage);
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::packageList, makePackageList);
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::news, [](const auto&) {
        return std::make_shared<NewsViewController>();
    });
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::installedFiles, makeInstalledFiles);
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::developerPackages,
                                    makeDeveloperPackages);
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::screenshots, makeScreenshots);
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::website, makeWebsite);
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::allReviews, makeAllReviews);
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::leaveReview, makeLeaveReview);
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::contactDeveloper,
                                    makeContactDeveloper);
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::developerDetails,
                                    makeDeveloperDetails);
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::taskList, makeTaskList);
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::sourcePage, makeSourcePage);
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::queueConfirmation, [](const auto&) {
        return std::make_shared<PackagesConfirmationViewController>();
    });
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::webDepiction, makeWebDepiction);
    KSScreenFactory::registerScreen(
        KSScreenFactory::Screen::importedArchive, [](const KSScreenFactory::Request& request) {
            return std::make_shared<ImportedPackageViewController>(request.archivePath);
        });
}

}  // namespace corvane
