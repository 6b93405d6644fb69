#include "screens/queue/PackagesConfirmationViewController.h"

#include "foundation/Dispatch.h"
#include "foundation/FileManager.h"
#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSParsingUtility.h"
#include "framework/packagemanager/KSQueueStateNotification.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRNotifications.h"
#include "framework/tasks/KSPipelineManager.h"
#include "screens/packages/KSPackageTableScreen.h"
#include "screens/queue/KSQueueLaunch.h"
#include "screens/queue/PackagesConfirmationViewControllerNib.h"
#include "ui/cells/MultiLineHeaderFooterView.h"
#include "uikit/BarButtonItem.h"
#include "uikit/NavigationItem.h"
#include "uikit/TableViewHeaderFooterView.h"

namespace corvane {

using Lists = KSQueueConfirmationLists;
using uikit::IndexPath;
using uikit::TableView;

namespace {

const char* const kSectionTitles[Lists::kSectionCount] = {
    "Main Packages to Proceed", "Other Packages", "Packages that cannot be processed"};

constexpr const char* kIncompatibleFooter =
    "You have queued packages that connot be installed on your device. Before Corvane can "
    "determine all dependencies, you must remove the incompatible packages from the queue";

KSRPackages& storedPackages() {
    return KSRPackageManager::sharedPackageManager().packages();
}

std::vector<KSRPackage> queuedRecords() {
    std::vector<KSRPackage> records;
    for (const auto& package : KSDatabase::realm()
                                   .objectsWhere<KSRPackage>("isInTheQueue = 1")
                                   .sortedResultsUsingKeyPath("name", true))
        records.push_back(package);
    return records;
}

std::string listed(const std::vector<std::string>& identifiers) {
    std::string text;
    for (const auto& identifier : identifiers)
        text += (text.empty() ? "" : ", ") + identifier;
    return text;
}

void logTree(const APTDependsTree& tree) {
    KSLog(
        "***DEPENDS TREE\n\n-DOWNLOADS: %@\n-REMOVES: %@\n-UPGRADES: %@\n-INSTALLS: "
        "%@\n-INCOMPATIBLE: %@",
        listed(tree.downloads), listed(tree.removes), listed(tree.upgrades), listed(tree.installs),
        listed(tree.incompatible));
}

}  // namespace

PackagesConfirmationViewController::PackagesConfirmationViewController()
    : KSPalettedViewController(kNibName) {
    PackagesConfirmationViewControllerNib::registerNib();
    PackageCell::registerNib();
    // The bar stays opaque and the list starts below it, so that no row hides under it.
    setOverrideLargeTitles(true);
    setOverrideTranslucentNavBar(true);
    setEdgesForExtendedLayout(uikit::RectEdge::none);
}

std::shared_ptr<PackagesConfirmationViewController> PackagesConfirmationViewController::self() {
    return std::static_pointer_cast<PackagesConfirmationViewController>(shared_from_this());
}

// Life cycle.

void PackagesConfirmationViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    lists_ = {};
    addBarButtons();
    auto& table = *packagesConfirmationTableView;
    KSPackageTableScreen::connect(table, self());
    table.registerCell(kFooterReuseIdentifier, [] {
        return std::make_shared<MultiLineHeaderFooterView>(uikit::TableViewCell::Style::subtitle,
                                                           kFooterReuseIdentifier);
    });
    confirmBtn->addAction(
        [weak = std::weak_ptr(self())](uikit::Control&) {
            if (auto alive = weak.lock())
                alive->confirmQueue();
        },
        uikit::ControlEvent::touchUpInside);
    observeRefreshesAndStore();
    isScrolling_ = false;
    needCacheRebuild_ = true;
    refreshCountDidChange();
    refreshQueue();
}

void PackagesConfirmationViewController::addBarButtons() {
    std::weak_ptr<PackagesConfirmationViewController> weak = self();
    auto cancel = uikit::BarButtonItem::withTitle(foundation::localized("Cancel"),
                                                  uikit::BarButtonItem::Style::plain,
                                                  [weak](uikit::BarButtonItem&) {
                                                      if (auto alive = weak.lock())
                                                          alive->cancelQueue();
                                                  });
    auto add = uikit::BarButtonItem::withSystemItem(uikit::BarButtonItem::SystemItem::add,
                                                    [weak](uikit::BarButtonItem&) {
                                                        if (auto alive = weak.lock())
                                                            alive->continueQueuing();
                                                    });
    navigationItem()->setLeftBarButtonItem(cancel);
    navigationItem()->setRightBarButtonItem(add);
}

// The refresh count changes on the pipeline's threads; the screen reads it on the main thread.
void PackagesConfirmationViewController::observeRefreshesAndStore() {
    std::weak_ptr<PackagesConfirmationViewController> weak = self();
    refreshCountObservation_ =
        KSPipelineManager::sharedManager().observableSourceRefreshCount().observe(
            [weak](const std::uint64_t&) {
                foundation::runOnMain([weak] {
                    if (auto alive = weak.lock())
                        alive->refreshCountDidChange();
                });
            });
    auto& center = foundation::NotificationCenter::defaultCenter();
    sourceObservation_ =
        center.addObserver(KSRSourceUpdatedNotification, [weak](const foundation::Notification&) {
            if (auto alive = weak.lock())
                alive->sourceRefreshed();
        });
    iconObservation_ = center.addObserver(
        KSRPackageInfoIconChangedNotification, [weak](const foundation::Notification&) {
            if (auto alive = weak.lock())
                alive->packagesConfirmationTableView->reloadData();
        });
}

void PackagesConfirmationViewController::viewWillAppear(bool animated) {
    KSPalettedViewController::viewWillAppear(animated);
    confirmBtn->layer().setCornerRadius(kConfirmCornerRadius);
}

void PackagesConfirmationViewController::paletteDidChange(const KSPalette& palette) {
    view()->setBackgroundColor(palette.backgroundColor());
    if (!packagesConfirmationTableView)
        return;
    packagesConfirmationTableView->setBackgroundColor(uikit::Color::clear());
    packagesConfirmationTableView->setSeparatorColor(uikit::Color::clear());
    packagesConfirmationTableView->reloadData();
    confirmBtn->setBackgroundColor(palette.tintColor());
    for (const auto& item :
         {navigationItem()->leftBarButtonItem(), navigationItem()->rightBarButtonItem()})
        if (item)
            item->setTintColor(palette.tintColor());
}

// The queue and its simulation.

void PackagesConfirmationViewController::refreshQueue() {
    if (isScrolling_)
        return;
    KSParsingUtility::checkStatusFileWithCompletion({});
    needCacheRebuild_ = false;
    lists_ = Lists::fromQueue(queuedRecords());
    dependsTree_ = {};
    ++simulationGeneration_;
    const auto queue = lists_.queueString();
    waitingOnDependencies_ = queue.has_value();
    if (queue)
        simulate(*queue);
    updateConfirmButton();
    packagesConfirmationTableView->reloadData();
}

void PackagesConfirmationViewController::simulate(const std::string& queueString) {
    foundation::runInBackground(
        [weak = std::weak_ptr(self()), generation = simulationGeneration_, queueString] {
            const auto tree = KSAPTManager::unmetDependenciesForPackages(queueString);
            logTree(tree);
            foundation::runOnMain([weak, generation, tree] {
                if (auto alive = weak.lock())
                    alive->simulationDidFinish(generation, tree);
            });
        });
}

// A result of an older simulation stands for a list that is no longer shown.
void PackagesConfirmationViewController::simulationDidFinish(std::uint64_t generation,
                                                             const APTDependsTree& tree) {
    if (closing_ || generation != simulationGeneration_)
        return;
    dependsTree_ = tree;
    lists_.applyTree(tree);
    waitingOnDependencies_ = false;
    packagesConfirmationTableView->reloadData();
    updateConfirmButton();
}

void PackagesConfirmationViewController::refreshCountDidChange() {
    const auto running = KSPipelineManager::sharedManager().sourceRefreshCount();
    const bool wasWaiting = waitingOnTasks_;
    waitingOnTasks_ = running != 0;
    setButtonTitle(waitingOnTasks_
                       ? foundation::format(foundation::localized("Waiting On (%d) Tasks"), running)
                       : foundation::localized("Confirm"));
    // The refresh has changed what APT knows: the queue is simulated again, once.
    if (wasWaiting && !waitingOnTasks_ && needCacheRebuild_)
        refreshQueue();
}

void PackagesConfirmationViewController::sourceRefreshed() {
    needCacheRebuild_ = true;
    if (!waitingOnTasks_)
        refreshQueue();
}

void PackagesConfirmationViewController::setButtonTitle(const std::string& title) {
    confirmBtn->setTitle(title);
    updateConfirmButton();
}

void PackagesConfirmationViewController::updateConfirmButton() {
    const bool enabled = !waitingOnDependencies_ && !waitingOnTasks_ && lists_.canProceed();
    confirmBtn->setEnabled(enabled);
    confirmBtn->setAlpha(enabled ? 1.0 : 0.5);
}

// The buttons.

void PackagesConfirmationViewController::confirmQueue() {
    if (!confirmBtn->isEnabled())
        return;
    if (!KSPipelineManager::sharedManager().tasksArray().empty()) {
        KSLog("Tasks are running; the queue waits");
        return;
    }
    const auto queue = lists_.queueString();
    if (!queue)
        return;
    close([queue = *queue, tree = dependsTree_] {
        if (CorvanePersistentPreferences::sharedInstance().boolForKey(
                "AutoVerboseViewForPackageTasks"))
            foundation::NotificationCenter::defaultCenter().post(kShowVerboseViewNotification);
        KSQueueLaunch::launchQueueActions(queue, tree);
    });
}

void PackagesConfirmationViewController::cancelQueue() {
    close([identifiers = KSQueueLaunch::cancelQueue()] {
        for (const auto& identifier : identifiers)
            KSQueueStateNotification::post(identifier,
                                           KSQueueStateNotification::kCanceledOperation);
    });
}

void PackagesConfirmationViewController::continueQueuing() {
    close();
}

void PackagesConfirmationViewController::close(std::function<void()> completion) {
    closing_ = true;
    dismiss(true, std::move(completion));
}

// Deleting a row.

// What the simulation added for the removed package is dropped with it, not queued in its place:
// the list is simulated again once the row has gone. The screen closes with the last queued row,
// but not while packages that could not be processed remain after one of them is swiped away:
// without it, the rest may well go ahead.
void PackagesConfirmationViewController::deleteRow(const IndexPath& indexPath) {
    const auto removed = lists_.removeRow(indexPath.section, indexPath.row);
    if (!removed)
        return;
    storedPackages().setPackage(removed->identifier, false, std::nullopt, KSRQueueOperationNone);
    KSQueueStateNotification::post(removed->identifier,
                                   KSQueueStateNotification::kCanceledOperation);
    lists_.dropRequired();
    ++simulationGeneration_;
    waitingOnDependencies_ = true;
    updateConfirmButton();
    const bool setApartRemain = indexPath.section == Lists::incompatiblePackages &&
                                !lists_.section(Lists::incompatiblePackages).empty();
    if (lists_.section(Lists::queuedPackages).empty() && !setApartRemain) {
        close();
        return;
    }
    packagesConfirmationTableView->reloadData();
    scheduleResimulation();
}

void PackagesConfirmationViewController::scheduleResimulation() {
    foundation::runOnMainAfter(
        kResimulationDelay, [weak = std::weak_ptr(self()), generation = simulationGeneration_] {
            auto alive = weak.lock();
            if (!alive || alive->closing_ || generation != alive->simulationGeneration_)
                return;
            alive->needCacheRebuild_ = true;
            alive->refreshQueue();
        });
}

// Scrolling.

void PackagesConfirmationViewController::scrollViewWillBeginDragging(uikit::ScrollView&) {
    isScrolling_ = true;
}

// A drag let go without a fling never decelerates: it ends the scrolling itself.
void PackagesConfirmationViewController::scrollViewDidEndDragging(uikit::ScrollView&,
                                                                  bool willDecelerate) {
    if (!willDecelerate)
        endScrolling();
}

void PackagesConfirmationViewController::scrollViewDidEndDecelerating(uikit::ScrollView&) {
    endScrolling();
}

void PackagesConfirmationViewController::endScrolling() {
    isScrolling_ = false;
    if (needCacheRebuild_)
        refreshQueue();
}

// Table.

int PackagesConfirmationViewController::numberOfSections(TableView&) {
    return Lists::kSectionCount;
}

int PackagesConfirmationViewController::numberOfRowsInSection(TableView&, int section) {
    return static_cast<int>(lists_.section(section).size());
}

std::shared_ptr<uikit::TableViewCell> PackagesConfirmationViewController::cellForRowAtIndexPath(
    TableView& tableView, const IndexPath& indexPath) {
    auto cell = KSPackageTableScreen::dequeueRow(tableView, indexPath);
    const auto& list = lists_.section(indexPath.section);
    if (!cell || static_cast<std::size_t>(indexPath.row) >= list.size())
        return cell;
    fillCell(*cell, list[indexPath.row], indexPath.section);
    cell->separator->setHidden(static_cast<std::size_t>(indexPath.row) + 1 == list.size());
    return cell;
}

void PackagesConfirmationViewController::fillCell(PackageCell& cell, const KSRPackage& package,
                                                  int section) {
    cell.updateWithPackage(package);
    cell.updateQueuingIconWithPackage(package);
    cell.updateVersionLabelShowingDowngradeIfNeededForPackage(package);
    cell.updateConpatibilityIndicatorWithPackageIdentifier(package.identifier, package.version);
    cell.iconView->setImage(iconForRow(package));
    if (palette())
        cell.nameLbl->setTextColor(palette()->primaryTextColor());
    if (section != Lists::incompatiblePackages)
        return;
    cell.setQueueingIcon(nullptr, std::nullopt);
    cell.nameLbl->setTextColor(uikit::Color::systemRed());
    if (auto refusal = lists_.refusalOf(package.identifier))
        showReason(cell, *refusal);
}

// The reason stands in for the description, even where a person hides descriptions; APT ends its
// lines with the package they are about, so the cut falls in the middle.
void PackagesConfirmationViewController::showReason(PackageCell& cell, const std::string& reason) {
    cell.descriptionLbl->setText(reason);
    cell.descriptionLbl->setHidden(false);
    cell.descriptionLbl->setLineBreakMode(uikit::LineBreakMode::byTruncatingMiddle);
}

// Scrolled away from the top, a row starts no icon download: it shows the icon only when it is
// on disk already, else its category's.
std::shared_ptr<uikit::Image> PackagesConfirmationViewController::iconForRow(
    const KSRPackage& package) const {
    if (packagesConfirmationTableView->contentOffset().y <= 0 ||
        foundation::FileManager::fileExists(package.iconPath()))
        return storedPackages().iconForIdentifier(package.identifier);
    return storedPackages().getCategoryIconForIdentifier(package.identifier);
}

std::optional<std::string> PackagesConfirmationViewController::titleForHeaderInSection(
    TableView&, int section) {
    if (lists_.section(section).empty())
        return std::string();
    return foundation::localized(kSectionTitles[section]);
}

std::optional<double> PackagesConfirmationViewController::heightForHeaderInSection(TableView&,
                                                                                   int section) {
    return lists_.section(section).empty() ? kNoSupplementHeight : kHeaderHeight;
}

void PackagesConfirmationViewController::willDisplayHeaderView(TableView&, uikit::View& view, int) {
    auto* header = dynamic_cast<uikit::TableViewHeaderFooterView*>(&view);
    if (!header || !palette())
        return;
    // The tint is what the system paints a plain table's header with.
    header->setTintColor(palette()->foregroundColor());
    header->setBackgroundColor(palette()->foregroundColor());
    header->textLabel()->setTextColor(palette()->primaryTextColor());
}

std::optional<double> PackagesConfirmationViewController::heightForFooterInSection(TableView&,
                                                                                   int section) {
    const bool shown = section == Lists::incompatiblePackages && !lists_.section(section).empty();
    return shown ? kFooterHeight : kNoSupplementHeight;
}

std::shared_ptr<uikit::View> PackagesConfirmationViewController::viewForFooterInSection(
    TableView& tableView, int section) {
    if (section != Lists::incompatiblePackages || lists_.section(section).empty())
        return nullptr;
    auto footer = tableView.dequeueReusableCell(kFooterReuseIdentifier);
    if (!footer)
        return nullptr;
    footer->detailTextLabel()->setText(foundation::localized(kIncompatibleFooter));
    if (palette())
        footer->detailTextLabel()->setTextColor(palette()->secondaryTextColor());
    return footer;
}

void PackagesConfirmationViewController::willDisplayFooterView(TableView&, uikit::View& view, int) {
    if (palette())
        view.setBackgroundColor(palette()->foregroundColor());
}

std::optional<double> PackagesConfirmationViewController::heightForRowAtIndexPath(
    TableView&, const IndexPath&) {
    return PackageCell::kRowHeight;
}

bool PackagesConfirmationViewController::canEditRowAtIndexPath(TableView&,
                                                               const IndexPath& indexPath) {
    return indexPath.section != Lists::requiredPackages;
}

uikit::TableViewCell::EditingStyle
PackagesConfirmationViewController::editingStyleForRowAtIndexPath(TableView&,
                                                                  const IndexPath& indexPath) {
    return indexPath.section == Lists::requiredPackages
               ? uikit::TableViewCell::EditingStyle::none
               : uikit::TableViewCell::EditingStyle::remove;
}

void PackagesConfirmationViewController::commitEditingStyle(
    TableView&, uikit::TableViewCell::EditingStyle style, const IndexPath& indexPath) {
    if (style == uikit::TableViewCell::EditingStyle::remove &&
        indexPath.section != Lists::requiredPackages)
        deleteRow(indexPath);
}

}  // namespace corvane
