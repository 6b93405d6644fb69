#include "screens/KSScreens.h"

#include "foundation/Log.h"
#include "framework/debian/DebianGrammar.h"
#include "screens/packages/PackageDetailsViewController.h"
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

}  // namespace

void registerScreens() {
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::packagePage, makePackagePage);
}

}  // namespace corvane
