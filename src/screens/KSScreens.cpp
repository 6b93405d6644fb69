#include "screens/KSScreens.h"

#include "foundation/Log.h"
#include "framework/debian/DebianGrammar.h"
#include "framework/depictions/KSFetchableURL.h"
#include "screens/archive/ImportedPackageViewController.h"
#include "screens/news/NewsViewController.h"
#include "screens/packages/PackageDetailsViewController.h"
#include "screens/packages/PackagesTableViewController.h"
#include "screens/website/WebDepictionViewController.h"
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

}  // namespace

void registerScreens() {
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::packagePage, makePackagePage);
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::packageList, makePackageList);
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::news, [](const auto&) {
        return std::make_shared<NewsViewController>();
    });
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::webDepiction, makeWebDepiction);
    KSScreenFactory::registerScreen(
        KSScreenFactory::Screen::importedArchive, [](const KSScreenFactory::Request& request) {
            return std::make_shared<ImportedPackageViewController>(request.archivePath);
        });
}

}  // namespace corvane
