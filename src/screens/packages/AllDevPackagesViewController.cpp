#include "screens/packages/AllDevPackagesViewController.h"

#include "foundation/Dispatch.h"
#include "foundation/NotificationCenter.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRNotifications.h"
#include "screens/packages/KSPackageTableScreen.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/NavigationController.h"

namespace corvane {

using uikit::IndexPath;
using uikit::TableView;

AllDevPackagesViewController::AllDevPackagesViewController() : KSPalettedViewController(kNibName) {
    KSPackageTableScreen::registerNib(kNibName,
                                      &AllDevPackagesViewController::devPackagesTableView);
    GetPackageCell::registerNib();
}

std::shared_ptr<AllDevPackagesViewController> AllDevPackagesViewController::self() {
    return std::static_pointer_cast<AllDevPackagesViewController>(shared_from_this());
}

void AllDevPackagesViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    if (titleString_)
        setTitle(*titleString_);
    if (maintainer_)
        identifiers_ = identifiersOfMaintainer(*maintainer_);
    devPackagesTableView->setDelegate(std::weak_ptr<uikit::TableViewDelegate>(self()));
    devPackagesTableView->setDataSource(std::weak_ptr<uikit::TableViewDataSource>(self()));
    devPackagesTableView->registerNib(GetPackageCell::kNibName, kReuseIdentifier);
    iconObservation_ = foundation::NotificationCenter::defaultCenter().addObserver(
        KSRPackageInfoIconChangedNotification,
        [weak = std::weak_ptr(self())](const foundation::Notification& notification) {
            if (auto self = weak.lock())
                self->iconChanged(notification);
        });
    KSPackageTableScreen::addBackSwipe(self());
}

std::vector<std::string> AllDevPackagesViewController::identifiersOfMaintainer(
    const std::string& maintainer) {
    auto realm = KSDatabase::realm();
    const bool showsIncompatible =
        CorvanePersistentPreferences::sharedInstance().boolForKey("ShowIncompatiblePackages");
    auto packages = showsIncompatible
                        ? realm.objectsWhere<KSRPackage>("maintainer = %@", maintainer)
                        : realm.objectsWhere<KSRPackage>(
                              "maintainer = %@ AND tweakCompatibleStatus != %i", maintainer, 1);
    std::vector<std::string> identifiers;
    packages.sortedResultsUsingKeyPath("name", true)
        .enumerateValuesForKeyPaths({"identifier"}, [&](const std::vector<foundation::Value>& row) {
            identifiers.push_back(row[0].stringValue());
        });
    return identifiers;
}

void AllDevPackagesViewController::paletteDidChange(const KSPalette& palette) {
    view()->setBackgroundColor(palette.backgroundColor());
    if (!devPackagesTableView)
        return;
    devPackagesTableView->setBackgroundColor(uikit::Color::clear());
    devPackagesTableView->setSeparatorColor(uikit::Color::clear());
    devPackagesTableView->reloadData();
}

void AllDevPackagesViewController::backSwipe() {
    KSPackageTableScreen::goBack(*this);
}

std::optional<KSRPackage> AllDevPackagesViewController::packageAt(
    const IndexPath& indexPath) const {
    if (indexPath.row < 0 || static_cast<std::size_t>(indexPath.row) >= identifiers_.size())
        return std::nullopt;
    return KSDatabase::realm().objectForPrimaryKey<KSRPackage>(
        identifiers_[static_cast<std::size_t>(indexPath.row)]);
}

int AllDevPackagesViewController::numberOfRowsInSection(TableView&, int) {
    return static_cast<int>(identifiers_.size());
}

std::optional<double> AllDevPackagesViewController::heightForRowAtIndexPath(TableView&,
                                                                            const IndexPath&) {
    return GetPackageCell::kRowHeight;
}

std::shared_ptr<uikit::TableViewCell> AllDevPackagesViewController::cellForRowAtIndexPath(
    TableView& tableView, const IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<GetPackageCell>(
        tableView.dequeueReusableCell(kReuseIdentifier, indexPath));
    if (!cell)
        return nullptr;
    cell->setBackgroundColor(uikit::Color::clear());
    const auto package = packageAt(indexPath);
    cell->contentView()->setHidden(!package);
    if (package)
        fillCell(*cell, *package);
    cell->separator->setHidden(indexPath.row + 1 == numberOfRowsInSection(tableView, 0));
    return cell;
}

void AllDevPackagesViewController::fillCell(GetPackageCell& cell, const KSRPackage& package) {
    cell.setPackageIdentifier(package.identifier);
    cell.updateWithPackage(package);
    cell.updateButtonTitleWithPackage(package, false);
    if (palette()) {
        cell.nameLbl->setTextColor(package.isFree() ? palette()->primaryTextColor()
                                                    : palette()->paidTextColor());
        cell.getBtn->setBackgroundColor(palette()->getButtonBackgoundColor());
        cell.getBtn->setTitleColor(palette()->getButtonTextColor());
    }
    cell.iconView->setImage(
        KSRPackageManager::sharedPackageManager().packages().iconForIdentifier(package.identifier));
}

void AllDevPackagesViewController::didSelectRowAtIndexPath(TableView& tableView,
                                                           const IndexPath& indexPath) {
    tableView.deselectRow(indexPath, true);
    const auto package = packageAt(indexPath);
    auto navigation = navigationController();
    if (!package || !navigation)
        return;
    KSScreenFactory::Request request;
    request.packageIdentifier = package->identifier;
    request.title = package->name;
    auto page = KSScreenFactory::make(KSScreenFactory::Screen::packagePage, request);
    if (!page)
        return;
    packageDetailsViewController_ = page;
    navigation->push(page, true);
}

void AllDevPackagesViewController::scrollViewDidEndDecelerating(uikit::ScrollView&) {
    for (const auto& visible : devPackagesTableView->visibleCells())
        if (auto cell = std::dynamic_pointer_cast<GetPackageCell>(visible))
            cell->updatePackageIcon();
}

void AllDevPackagesViewController::iconChanged(const foundation::Notification& notification) {
    const auto* identifier = notification.object.string();
    if (!identifier)
        return;
    foundation::runAsyncOnMain([weak = std::weak_ptr(self()), identifier = *identifier] {
        auto self = weak.lock();
        if (!self)
            return;
        for (const auto& visible : self->devPackagesTableView->visibleCells()) {
            auto cell = std::dynamic_pointer_cast<GetPackageCell>(visible);
            if (cell && cell->packageIdentifier() == identifier)
                cell->updatePackageIcon();
        }
    });
}

}  // namespace corvane
