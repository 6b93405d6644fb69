#include "screens/packages/PackagesTableViewController.h"

#include "foundation/DateFormatter.h"
#include "foundation/Dispatch.h"
#include "foundation/FileManager.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "framework/network/KSFetchableURL.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRNotifications.h"
#include "framework/storage/KSRSource.h"
#include "screens/packages/KSPackageListQuery.h"
#include "screens/packages/KSPackageListRowAction.h"
#include "screens/packages/KSPackageListSort.h"
#include "screens/packages/KSPackageTableScreen.h"
#include "ui/core/KSApplicationServices.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/Device.h"
#include "uikit/NavigationController.h"
#include "uikit/TableViewHeaderFooterView.h"

namespace corvane {

using uikit::IndexPath;
using uikit::TableView;

namespace {

std::optional<KSRPackage> storedPackage(const std::string& identifier) {
    return KSDatabase::realm().objectForPrimaryKey<KSRPackage>(identifier);
}

KSRPackages& storedPackages() {
    return KSRPackageManager::sharedPackageManager().packages();
}

// The title of a new-package section: its "yyyy-MM-dd HH:mm" shown as a long date with the time,
// or the text as it is when it is no such date.
std::string dateSectionTitle(const std::string& date) {
    const auto parsed =
        foundation::DateFormatter::withFormat("yyyy-MM-dd HH:mm").dateFromString(date);
    if (!parsed)
        return date;
    return foundation::DateFormatter::longDateShortTime().stringFromDate(*parsed);
}

}  // namespace

PackagesTableViewController::PackagesTableViewController() : KSPalettedViewController(kNibName) {
    KSPackageTableScreen::registerNib(kNibName, &PackagesTableViewController::packagesTableView,
                                      &PackagesTableViewController::tasksProgressBar);
    PackageCell::registerNib();
}

std::shared_ptr<PackagesTableViewController> PackagesTableViewController::self() {
    return std::static_pointer_cast<PackagesTableViewController>(shared_from_this());
}

void PackagesTableViewController::setSubcategory(std::optional<std::string> subcategory) {
    inputs_.subcategory = std::move(subcategory);
}

void PackagesTableViewController::setSourceLocation(std::optional<std::string> location) {
    inputs_.sourceLocation = std::move(location);
}

void PackagesTableViewController::setFollowedDeveloper(std::optional<KSRDeveloper> developer) {
    inputs_.followedDeveloper = std::move(developer);
}

void PackagesTableViewController::setNewsSourcePackagesToShow(
    std::vector<std::string> identifiers) {
    inputs_.newsSourcePackagesToShow = std::move(identifiers);
}

void PackagesTableViewController::setDownloadsHistory(std::vector<std::string> identifiers) {
    inputs_.downloadsHistory = std::move(identifiers);
}

// Life cycle.

void PackagesTableViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    tasksProgressBar->setHidden(true);
    if (isComingFromFeatured_)
        if (auto navigation = navigationController())
            navigation->setNavigationBarHidden(false, true);
    KSPackageTableScreen::connect(*packagesTableView, self());
    KSPackageTableScreen::addBackSwipe(self());
    observeNotifications();
    isScrolling_ = false;
    needCacheRebuild_ = true;
    updateSortButton();
}

void PackagesTableViewController::observeNotifications() {
    auto& center = foundation::NotificationCenter::defaultCenter();
    std::weak_ptr<PackagesTableViewController> weak = self();
    sourceObservation_ =
        center.addObserver(KSRSourceUpdatedNotification, [weak](const foundation::Notification&) {
            if (auto self = weak.lock())
                self->sourceRefreshed();
        });
    iconObservation_ = center.addObserver(KSRPackageInfoIconChangedNotification,
                                          [weak](const foundation::Notification& notification) {
                                              if (auto self = weak.lock())
                                                  self->iconChanged(notification);
                                          });
}

void PackagesTableViewController::viewWillAppear(bool animated) {
    KSPalettedViewController::viewWillAppear(animated);
    packagesTableView->setBackgroundColor(uikit::Color::clear());
    rebuildCache();
}

void PackagesTableViewController::viewWillDisappear(bool animated) {
    KSPalettedViewController::viewWillDisappear(animated);
    if (isMovingFromParentViewController() && isComingFromFeatured_)
        if (auto navigation = navigationController())
            navigation->setNavigationBarHidden(true, true);
}

void PackagesTableViewController::paletteDidChange(const KSPalette& palette) {
    view()->setBackgroundColor(palette.backgroundColor());
    if (packagesTableView)
        packagesTableView->setSectionIndexColor(palette.tintColor());
}

// The list.

void PackagesTableViewController::rebuildCache() {
    if (isScrolling_)
        return;
    needCacheRebuild_ = false;
    packages_ = KSPackageListQuery::queuedPackages();
    updateSortButton();
    const auto sortKey = sortPropertyForPrefs();
    if (inputs_.category.is(KSPackageListCategory::Special::newPackages)) {
        sections_ = KSPackageListSections::byDate(storedPackages().rebuildDictOfNewPackages());
    } else if (inputs_.category.is(KSPackageListCategory::Special::newPackagesVersions)) {
        sections_ =
            KSPackageListSections::byDate(storedPackages().rebuildDictOfNewPackagesVersions());
    } else {
        packages_ = listedPackages(sortKey);
        rebuildSectionsCacheForSortCriteria(sortKey);
    }
    if (packagesTableView)
        packagesTableView->reloadData();
}

// A list without a query of its own shows the queued packages, sorted like any other list so
// that its sections read in order.
std::optional<store::Results<KSRPackage>> PackagesTableViewController::listedPackages(
    const std::string& sortKey) const {
    if (auto listed = KSPackageListQuery::packagesForList(inputs_, sortKey))
        return listed;
    return packages_->sortedResultsUsingKeyPath(sortKey, true);
}

std::string PackagesTableViewController::sortPropertyForPrefs() const {
    return KSPackageListSort::sortPropertyForPrefs(inputs_.category);
}

void PackagesTableViewController::rebuildSectionsCacheForSortCriteria(
    const std::string& criterion) {
    sections_ = packages_ ? KSPackageListSections::sectionsForSortCriteria(*packages_, criterion)
                          : KSPackageListSections();
}

void PackagesTableViewController::updateSortButton() {
    if (inputs_.isNewPackagesList()) {
        navigationItem()->setRightBarButtonItem(nullptr);
        return;
    }
    navigationItem()->setRightBarButtonItem(uikit::BarButtonItem::withImage(
        uikit::Image::named("Sort"), uikit::BarButtonItem::Style::plain,
        [weak = std::weak_ptr(self())](uikit::BarButtonItem& sender) {
            if (auto self = weak.lock())
                self->sortPackages(sender.shared_from_this());
        }));
}

void PackagesTableViewController::sourceRefreshed() {
    if (!isViewLoaded() || !view()->window())
        return;
    needCacheRebuild_ = true;
    rebuildCache();
}

void PackagesTableViewController::iconChanged(const foundation::Notification& notification) {
    const auto* identifier = notification.object.string();
    if (!identifier)
        return;
    foundation::runOnMain([weak = std::weak_ptr(self()), identifier = *identifier] {
        auto self = weak.lock();
        if (!self)
            return;
        if (auto cell = self->visibleCellOfPackage(identifier))
            cell->updatePackageIcon();
    });
}

// Table.

std::optional<std::string> PackagesTableViewController::identifierAt(
    const IndexPath& indexPath) const {
    if (indexPath.section < 0 || indexPath.row < 0)
        return std::nullopt;
    return sections_.identifierAt(static_cast<std::size_t>(indexPath.section),
                                  static_cast<std::size_t>(indexPath.row));
}

int PackagesTableViewController::numberOfSections(TableView&) {
    return static_cast<int>(sections_.numberOfSections());
}

int PackagesTableViewController::numberOfRowsInSection(TableView&, int section) {
    if (section < 0)
        return 0;
    return static_cast<int>(sections_.rowsInSection(static_cast<std::size_t>(section)).size());
}

std::optional<std::string> PackagesTableViewController::titleForHeaderInSection(TableView&,
                                                                                int section) {
    if (section < 0)
        return std::nullopt;
    auto title = sections_.titleForSection(static_cast<std::size_t>(section));
    if (title && inputs_.isNewPackagesList())
        return dateSectionTitle(*title);
    return title;
}

std::vector<std::string> PackagesTableViewController::sectionIndexTitles(TableView&) {
    return sections_.indexTitles().value_or(std::vector<std::string>{});
}

std::shared_ptr<uikit::TableViewCell> PackagesTableViewController::cellForRowAtIndexPath(
    TableView& tableView, const IndexPath& indexPath) {
    auto cell = KSPackageTableScreen::dequeueRow(tableView, indexPath);
    if (!cell)
        return nullptr;
    const auto identifier = identifierAt(indexPath).value_or("");
    fillCell(*cell, storedPackage(identifier), identifier);
    const auto rows = numberOfRowsInSection(tableView, indexPath.section);
    cell->separator->setHidden(indexPath.row == rows - 1);
    return cell;
}

// A package removed since the last rebuild leaves an empty row until the next one.
void PackagesTableViewController::fillCell(PackageCell& cell,
                                           const std::optional<KSRPackage>& package,
                                           const std::string& identifier) {
    cell.updateWithPackage(package.value_or(KSRPackage{.identifier = identifier}));
    cell.updateQueuingIconWithPackage(package);
    cell.updateConpatibilityIndicatorWithPackageIdentifier(
        identifier, package ? package->version : std::nullopt);
    cell.setAccessoryType(uikit::TableViewCell::AccessoryType::disclosureIndicator);
    if (palette())
        cell.nameLbl->setTextColor(!package || package->isFree() ? palette()->primaryTextColor()
                                                                 : palette()->paidTextColor());
    cell.iconView->setImage(iconForRow(identifier, package));
}

// While the user scrolls, rows whose icon is not on disk yet show their category's, so that a
// fast scroll starts no downloads; at the very top a row always asks for its own icon.
std::shared_ptr<uikit::Image> PackagesTableViewController::iconForRow(
    const std::string& identifier, const std::optional<KSRPackage>& package) const {
    const bool atTop = packagesTableView->contentOffset().y == 0;
    if (atTop || !isScrolling_ ||
        (package && foundation::FileManager::fileExists(package->iconPath())))
        return storedPackages().iconForIdentifier(identifier);
    return storedPackages().getCategoryIconForIdentifier(identifier);
}

bool PackagesTableViewController::canEditRowAtIndexPath(TableView&, const IndexPath&) {
    return true;
}

std::optional<double> PackagesTableViewController::heightForRowAtIndexPath(TableView&,
                                                                           const IndexPath&) {
    return PackageCell::kRowHeight;
}

void PackagesTableViewController::willDisplayHeaderView(TableView&, uikit::View& view, int) {
    auto* header = dynamic_cast<uikit::TableViewHeaderFooterView*>(&view);
    if (!header || !palette())
        return;
    header->setTintColor(palette()->foregroundColor());
    header->textLabel()->setTextColor(palette()->primaryTextColor());
}

void PackagesTableViewController::didSelectRowAtIndexPath(TableView& tableView,
                                                          const IndexPath& indexPath) {
    tableView.deselectRow(indexPath, true);
    if (auto identifier = identifierAt(indexPath))
        openPackage(*identifier);
}

// The package's own page, or its web depiction when its source asks for the original
// depictions and the package names a web address to show.
void PackagesTableViewController::openPackage(const std::string& identifier) {
    const auto package = storedPackage(identifier);
    const auto source =
        package && package->sourceLocation
            ? KSDatabase::realm().objectForPrimaryKey<KSRSource>(*package->sourceLocation)
            : std::nullopt;
    KSScreenFactory::Request request;
    request.packageIdentifier = identifier;
    auto screen = KSScreenFactory::Screen::packagePage;
    const auto website =
        package && package->website ? KSFetchableURL::fromString(*package->website) : std::nullopt;
    if (source && source->seeOriginalDepictions && website) {
        screen = KSScreenFactory::Screen::webDepiction;
        request.websiteURL = website;
    } else if (package) {
        request.title = package->name;
    }
    auto page = KSScreenFactory::make(screen, request);
    auto navigation = navigationController();
    if (!page || !navigation)
        return;
    packageViewController_ = page;
    navigation->push(page, true);
}

std::shared_ptr<uikit::SwipeActionsConfiguration>
PackagesTableViewController::trailingSwipeActionsConfigurationForRowAtIndexPath(
    TableView&, const IndexPath& indexPath) {
    const auto identifier = identifierAt(indexPath);
    const auto package = identifier ? storedPackage(*identifier) : std::nullopt;
    if (!package)
        return nullptr;
    auto action = KSPackageListRowAction::actionForPackage(
        *package, [weak = std::weak_ptr(self())](const std::string& identifier) {
            if (auto self = weak.lock())
                self->redrawQueueIcon(identifier);
        });
    return uikit::SwipeActionsConfiguration::create({action});
}

// The row that shows the package now: the list may have been reloaded since the swipe.
void PackagesTableViewController::redrawQueueIcon(const std::string& identifier) {
    if (auto cell = visibleCellOfPackage(identifier))
        cell->updateQueuingIconWithPackage(storedPackage(identifier));
}

std::shared_ptr<PackageCell> PackagesTableViewController::visibleCellOfPackage(
    const std::string& identifier) {
    if (!packagesTableView)
        return nullptr;
    for (const auto& visible : packagesTableView->visibleCells()) {
        auto cell = std::dynamic_pointer_cast<PackageCell>(visible);
        if (cell && cell->packageIdentifier() == identifier)
            return cell;
    }
    return nullptr;
}

// Scrolling.

void PackagesTableViewController::scrollViewWillBeginDragging(uikit::ScrollView&) {
    isScrolling_ = true;
}

// A drag let go without a fling never decelerates: it ends the scrolling itself, or the list
// would wait for a deceleration that never comes.
void PackagesTableViewController::scrollViewDidEndDragging(uikit::ScrollView&,
                                                           bool willDecelerate) {
    if (!willDecelerate)
        endScrolling();
}

void PackagesTableViewController::scrollViewDidEndDecelerating(uikit::ScrollView&) {
    endScrolling();
}

void PackagesTableViewController::endScrolling() {
    for (const auto& visible : packagesTableView->visibleCells())
        if (auto cell = std::dynamic_pointer_cast<PackageCell>(visible))
            cell->updatePackageIcon();
    isScrolling_ = false;
    if (needCacheRebuild_)
        rebuildCache();
}

// Bar and row actions.

void PackagesTableViewController::sortPackages(
    const std::shared_ptr<uikit::BarButtonItem>& sender) {
    auto sheet = KSPackageListSort::sortSheet(inputs_.category, [weak = std::weak_ptr(self())] {
        if (auto self = weak.lock())
            self->rebuildCache();
    });
    auto services = KSApplicationServices::shared();
    if (!services) {
        KSLog("Nothing presents screens yet; the sort choices were not shown");
        return;
    }
    services->presentViewController(sheet, sender);
}

void PackagesTableViewController::updateUI() {
    packages_ = KSPackageListQuery::queuedPackages();
    if (packagesTableView)
        packagesTableView->reloadData();
}

void PackagesTableViewController::sourceInfo() {
    KSScreenFactory::Request request;
    request.sourceLocation = inputs_.sourceLocation.value_or("");
    request.isPresented = true;
    auto source = KSScreenFactory::make(KSScreenFactory::Screen::sourcePage, request);
    auto navigation = navigationController();
    if (!source || !navigation)
        return;
    auto presented = uikit::NavigationController::create(source);
    if (uikit::Device::current().userInterfaceIdiom() == uikit::UserInterfaceIdiom::pad)
        presented->setModalPresentationStyle(uikit::ModalPresentationStyle::formSheet);
    navigation->present(presented, true);
}

void PackagesTableViewController::seeSileoPurchasedPackages() {
    auto purchased = std::make_shared<PackagesTableViewController>();
    purchased->setTitle(foundation::localized(
        KSPackageListCategory::textOf(KSPackageListCategory::Special::sileoPackages)));
    purchased->setCategory(KSPackageListCategory::Special::sileoPackages);
    purchased->setSourceLocation(inputs_.sourceLocation);
    if (auto navigation = navigationController())
        navigation->push(purchased, true);
}

void PackagesTableViewController::backSwipe() {
    KSPackageTableScreen::goBack(*this);
}

}  // namespace corvane
