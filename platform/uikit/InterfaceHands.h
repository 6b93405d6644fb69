#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/ContextualAction.h"
#include "uikit/Geometry.h"

namespace uikit {

class ActivityViewController;
class AlertController;
class BarButtonItem;
class CollectionView;
class SafariViewController;
class TabBarController;
class TableView;

// More of a person's hands for tests and demos, for the containers and lists: each finds what a
// finger would touch and taps or swipes it through hands::tap and hands::swipe. Each returns
// whether the finger landed on it. Handlers that the system runs after a dismissal (alert
// actions, share sheet completions) run once the run loop has played the dismissal.
namespace hands {

// Scrolls the row into sight when needed and taps its cell: shouldHighlight, willSelect,
// didSelect, as a tap does.
bool selectRow(const std::shared_ptr<TableView>& table, const IndexPath& indexPath);
// Scrolls the row into sight when needed and swipes it towards the leading edge; the actions
// it reveals (none when the row offers none).
std::vector<std::shared_ptr<ContextualAction>> swipeRow(const std::shared_ptr<TableView>& table,
                                                        const IndexPath& indexPath);
// Taps a revealed swipe action's button.
bool tapSwipeAction(const std::shared_ptr<TableView>& table, const std::string& title);
// Scrolls the item into sight when needed and taps its cell.
bool selectItem(const std::shared_ptr<CollectionView>& collectionView, const IndexPath& indexPath);
// Taps the view showing the item in its bar; false when no bar shows it.
bool tapBarButton(const std::shared_ptr<BarButtonItem>& item);
bool selectTab(const std::shared_ptr<TabBarController>& tabBarController, std::size_t index);
// Taps the alert's button for the action with the title.
bool pickAlertAction(const std::shared_ptr<AlertController>& alert, const std::string& title);
// Taps the share sheet's button for the activity, or its cancel button for nullopt.
bool completeActivity(const std::shared_ptr<ActivityViewController>& sheet,
                      const std::optional<std::string>& activityType);
// Taps the in-app browser's Done button.
bool closeBrowser(const std::shared_ptr<SafariViewController>& browser);

}  // namespace hands

}  // namespace uikit
