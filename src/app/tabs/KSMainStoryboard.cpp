#include "app/tabs/KSMainStoryboard.h"

#include <array>

#include "app/tabs/KSTabBarController.h"
#include "app/tabs/KSTabPlaceholderViewController.h"
#include "foundation/Localization.h"
#include "screens/sources/ManageViewController.h"
#include "uikit/NavigationController.h"

namespace corvane {

namespace {

// In tab order; the application delegate relies on the places of Sources and Search.
constexpr std::array<const char*, 5> kTabTitles = {"Featured", "Categories", "Changes", "Sources",
                                                   "Search"};

// The sources tab shows the manage screen; until the screens of the other tabs exist, each
// shows a placeholder with its title.
std::shared_ptr<uikit::ViewController> makeRoot(std::size_t index, const char* title) {
    if (index == KSTabBarController::kSourcesTabIndex)
        return std::make_shared<ManageViewController>();
    auto placeholder = std::make_shared<KSTabPlaceholderViewController>();
    placeholder->setTitle(foundation::localized(title));
    return placeholder;
}

std::shared_ptr<uikit::ViewController> makeTab(std::size_t index, const char* title) {
    auto navigation = uikit::NavigationController::create(makeRoot(index, title));
    navigation->tabBarItem()->setTitle(foundation::localized(title));
    return navigation;
}

std::shared_ptr<uikit::ViewController> makeTabBarController() {
    auto controller = std::make_shared<KSTabBarController>();
    std::vector<std::shared_ptr<uikit::ViewController>> tabs;
    for (std::size_t index = 0; index < kTabTitles.size(); ++index)
        tabs.push_back(makeTab(index, kTabTitles[index]));
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
