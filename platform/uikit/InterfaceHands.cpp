#include "uikit/InterfaceHands.h"

#include "uikit/ActivityViewController.h"
#include "uikit/AlertController.h"
#include "uikit/BarButtonItem.h"
#include "uikit/CollectionView.h"
#include "uikit/Hands.h"
#include "uikit/SafariViewController.h"
#include "uikit/TabBarController.h"
#include "uikit/TableView.h"

namespace uikit::hands {

namespace {

std::shared_ptr<TableViewCell> cellInSight(const std::shared_ptr<TableView>& table,
                                           const IndexPath& indexPath) {
    if (auto cell = table->cellForRowAtIndexPath(indexPath))
        return cell;
    table->scrollToRowAtIndexPath(indexPath, TableView::ScrollPosition::none, false);
    return table->cellForRowAtIndexPath(indexPath);
}

}  // namespace

bool selectRow(const std::shared_ptr<TableView>& table, const IndexPath& indexPath) {
    auto cell = cellInSight(table, indexPath);
    return cell && tap(cell);
}

std::vector<std::shared_ptr<ContextualAction>> swipeRow(const std::shared_ptr<TableView>& table,
                                                        const IndexPath& indexPath) {
    auto cell = cellInSight(table, indexPath);
    if (!cell || !swipe(cell, SwipeDirection::left))
        return {};
    if (table->swipedRow() != indexPath)
        return {};
    return table->revealedSwipeActions();
}

bool tapSwipeAction(const std::shared_ptr<TableView>& table, const std::string& title) {
    auto button = table->buttonForSwipeAction(title);
    return button && tap(button);
}

bool selectItem(const std::shared_ptr<CollectionView>& collectionView, const IndexPath& indexPath) {
    auto cell = collectionView->cellForItemAtIndexPath(indexPath);
    if (!cell) {
        collectionView->scrollToItem(indexPath,
                                     CollectionViewScrollPosition::centeredHorizontally |
                                         CollectionViewScrollPosition::centeredVertically,
                                     false);
        cell = collectionView->cellForItemAtIndexPath(indexPath);
    }
    return cell && tap(cell);
}

bool tapBarButton(const std::shared_ptr<BarButtonItem>& item) {
    auto view = item ? item->shownView() : nullptr;
    return view && view->superview() && tap(view);
}

bool selectTab(const std::shared_ptr<TabBarController>& tabBarController, std::size_t index) {
    auto button = tabBarController->tabBar()->buttonForItem(index);
    return button && tap(button);
}

bool pickAlertAction(const std::shared_ptr<AlertController>& alert, const std::string& title) {
    auto button = alert->buttonForAction(title);
    return button && tap(button);
}

bool completeActivity(const std::shared_ptr<ActivityViewController>& sheet,
                      const std::optional<std::string>& activityType) {
    auto button = sheet->buttonForActivity(activityType);
    return button && tap(button);
}

bool closeBrowser(const std::shared_ptr<SafariViewController>& browser) {
    auto button = browser->doneButton();
    return button && tap(button);
}

}  // namespace uikit::hands
