#include "app/presentations/KSPresentations.h"

#include "app/presentations/KSPackageOptionsMenu.h"
#include "app/presentations/KSShareTexts.h"
#include "app/presentations/KSVersionMenu.h"
#include "foundation/Dispatch.h"
#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/Strings.h"
#include "framework/network/KSImageFetcher.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSDatabase.h"
#include "screens/tasks/TasksVerboseViewController.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/Device.h"
#include "uikit/SafariViewController.h"

namespace corvane {

using foundation::localized;
using uikit::ActivityViewController;

namespace {

std::optional<KSRPackage> storedPackage(const std::string& identifier) {
    auto package = KSDatabase::realm().objectForPrimaryKey<KSRPackage>(identifier);
    if (!package)
        KSLog("No stored package %@; nothing was shown", identifier);
    return package;
}

std::optional<KSRSource> storedSource(const std::optional<std::string>& location) {
    if (!location)
        return std::nullopt;
    return KSDatabase::realm().objectForPrimaryKey<KSRSource>(*location);
}

}  // namespace

KSPresentations::KSPresentations(std::shared_ptr<KSPresenter> presenter,
                                 std::shared_ptr<KSDelegateState> state, HudSource hud)
    : presenter_(std::move(presenter)), state_(std::move(state)), hud_(std::move(hud)) {}

void KSPresentations::presentViewController(
    const std::shared_ptr<uikit::ViewController>& controller, const KSSender& sender) {
    presenter_->presentViewController(controller, sender);
}

void KSPresentations::presentOptions(const std::string& identifier, const KSSender& sender) {
    if (auto package = storedPackage(identifier))
        presentViewController(KSPackageOptionsMenu::make(*package, weak_from_this(), sender),
                              sender);
}

void KSPresentations::showVersionSelectionMenuForIdentifier(const std::string& identifier,
                                                            const KSSender& sender) {
    if (auto package = storedPackage(identifier))
        presentViewController(KSVersionMenu::make(*package), sender);
}

void KSPresentations::sharePackage(const std::string& identifier, const KSSender& sender) {
    auto package = storedPackage(identifier);
    if (!package)
        return;
    std::vector<uikit::ActivityItem> items{foundation::Value(
        KSShareTexts::packageText(*package, storedSource(package->sourceLocation)))};
    if (auto icon =
            KSRPackageManager::sharedPackageManager().packages().iconForIdentifier(identifier))
        items.emplace_back(std::move(icon));
    KSImageFetcher::fetchInOrder(
        package->screenshots,
        [weak = weak_from_this(), items = std::move(items), title = package->name,
         sender](std::vector<std::shared_ptr<uikit::Image>> screenshots) mutable {
            auto self = weak.lock();
            if (!self)
                return;
            for (auto& screenshot : screenshots)
                items.emplace_back(std::move(screenshot));
            self->shareAlertWithItems(std::move(items), title, sender);
        });
}

void KSPresentations::shareSourceWithLocation(const std::string& location, const KSSender& sender) {
    auto source = storedSource(location);
    if (!source) {
        KSLog("No stored source %@; nothing was shared", location);
        return;
    }
    std::vector<uikit::ActivityItem> items{foundation::Value(KSShareTexts::sourceText(*source))};
    if (auto icon = KSRPackageManager::sharedPackageManager().sources().iconForLocation(location))
        items.emplace_back(std::move(icon));
    shareAlertWithItems(std::move(items),
                        localized("Share") + " " + source->name.value_or(source->location), sender);
}

void KSPresentations::shareAllSources(const KSSender& sender) {
    auto locations = KSRPackageManager::sharedPackageManager().sources().allLocations();
    if (locations.empty()) {
        KSLog("No source to share");
        return;
    }
    shareAlertWithItems({foundation::Value(KSShareTexts::allSourcesText(locations))},
                        localized("All Sources"), sender);
}

std::vector<std::string> KSPresentations::excludedActivityTypes() {
    std::vector<std::string> excluded{ActivityViewController::kActivityTypeOpenInIBooks,
                                      ActivityViewController::kActivityTypeAirDrop,
                                      ActivityViewController::kActivityTypeSaveToCameraRoll,
                                      ActivityViewController::kActivityTypePrint,
                                      ActivityViewController::kActivityTypeAssignToContact};
    if (uikit::Device::current().systemVersionAtLeast("11.0"))
        excluded.insert(excluded.begin(), ActivityViewController::kActivityTypeMarkupAsPDF);
    return excluded;
}

void KSPresentations::shareAlertWithItems(std::vector<uikit::ActivityItem> items,
                                          const std::optional<std::string>& title,
                                          const KSSender& sender) {
    auto sheet = std::make_shared<ActivityViewController>(std::move(items));
    sheet->setExcludedActivityTypes(excludedActivityTypes());
    if (title)
        sheet->setTitle(title);
    presentViewController(sheet, sender);
}

std::shared_ptr<HudPresenting> KSPresentations::hud() const {
    auto hud = hud_ ? hud_() : nullptr;
    if (!hud)
        KSLog("No tab bar to present from; the presentation was dropped");
    return hud;
}

void KSPresentations::presentQueue() {
    if (auto presenting = hud())
        presenting->presentQueue();
}

void KSPresentations::presentTasks() {
    if (auto presenting = hud())
        presenting->presentTasks();
}

void KSPresentations::presentVerboseConsole() {
    presenter_->presentInNavigationController(std::make_shared<TasksVerboseViewController>());
}

void KSPresentations::openURLInSafariVC(const std::optional<foundation::URL>& url) {
    if (!url)
        return;
    foundation::runOnMain([weak = weak_from_this(), url = *url] {
        auto self = weak.lock();
        auto browser = uikit::SafariViewController::create(url);
        if (!browser) {
            KSLog("Not a web address: %@", url.absoluteString());
            return;
        }
        if (self)
            self->presentViewController(browser);
    });
}

void KSPresentations::openWebsiteAtURL(const foundation::URL& url, const std::string& packageName) {
    KSScreenFactory::Request request;
    request.title = foundation::format(localized("%@'s website"), packageName);
    request.websiteURL = url;
    request.isPresented = true;
    presenter_->presentInNavigationController(
        KSScreenFactory::make(KSScreenFactory::Screen::website, request));
}

void KSPresentations::showNewsVC() {
    if (auto news = KSScreenFactory::make(KSScreenFactory::Screen::news))
        presentViewController(news);
}

void KSPresentations::showDeveloperPage() {
    auto developer = state_->developerToShow
                         ? KSDatabase::realm().objectForPrimaryKey<KSRDeveloper>(
                               foundation::lowercase(*state_->developerToShow))
                         : std::nullopt;
    if (!developer) {
        KSLog("No stored developer %@; nothing was shown", state_->developerToShow);
        return;
    }
    KSScreenFactory::Request request;
    request.title = localized(KSPackageListCategory::textOf(kCategorySpecial_NewPackages));
    request.category = kCategorySpecial_NewPackagesFromFollowedDeveloper;
    request.followedDeveloper = std::move(developer);
    presenter_->presentInNavigationController(
        KSScreenFactory::make(KSScreenFactory::Screen::packageList, request));
}

void KSPresentations::showNewSourcePackages() {
    KSScreenFactory::Request request;
    request.title = localized(KSPackageListCategory::textOf(kCategorySpecial_NewPackages));
    request.category = kCategorySpecial_NewPackagesFromFollowedSource;
    request.newsSourcePackagesToShow = state_->identifiersToShow;
    presenter_->presentInNavigationController(
        KSScreenFactory::make(KSScreenFactory::Screen::packageList, request));
}

}  // namespace corvane
