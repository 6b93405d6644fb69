#include "app/tabs/KSMainStoryboard.h"

#include <array>

#include "app/tabs/KSTabBarController.h"
#include "app/tabs/KSTabPlaceholderViewController.h"
#include "foundation/Localization.h"
#include "uikit/NavigationController.h"

namespace corvane {

namespace {

// In tab order; the application delegate relies on the places of Sources and Search.
constexpr std::array<const char*, 5> kTabTitles = {"Featured", "Categories", "Changes", "Sources",
                                                   "Search"};

// Until the screens of the lists exist, each tab shows a placeholder with its title.
std::shared_ptr<uikit::ViewController> makeTab(const char* title) {
    auto root = std::make_shared<KSTabPlaceholderViewController>();
    root->setTitle(foundation::localized(title));
    auto navigation = uikit::NavigationController::create(root);
    navigation->tabBarItem()->setTitle(foundation::localized(title));
    return navigation;
}

std::shared_ptr<uikit::ViewController> makeTabBarController() {
    auto controller = std::make_shared<KSTabBarController>();
    std::vector<std::shared_ptr<uikit::ViewController>> tabs;
    for (const char* title : kTabTitles)
        tabs.push_back(makeTab(title));
    controller->setViewControllers(std::move(tabs));
    return controller;
}

}  // namespace

std::shared_ptr<uikit::ViewController> KSMainStoryboard::instantiateViewControllerWithIdentifier(
    const std::string& identifier) {
    if (identifier == kTabBarIdentifier)
        return makeTabBarController();
    return nullptr;
}

std::shared_ptr<uikit::ViewController> KSMainStoryboard::instantiateInitialViewController() {
    return instantiateViewControllerWithIdentifier(kTabBarIdentifier);
}

}  // namespace corvane
