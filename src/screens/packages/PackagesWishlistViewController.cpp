#include "screens/packages/PackagesWishlistViewController.h"

#include "foundation/Localization.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSDatabase.h"
#include "screens/packages/KSPackageTableScreen.h"
#include "ui/cells/KSPackageSourceLine.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/AlertController.h"
#include "uikit/NavigationController.h"

namespace corvane {

using foundation::localized;
using uikit::IndexPath;
using uikit::TableView;

namespace {

bool preference(const char* key) {
    return CorvanePersistentPreferences::sharedInstance().boolForKey(key);
}

std::optional<KSRPackage> storedPackage(const std::string& identifier) {
    return KSDatabase::realm().objectForPrimaryKey<KSRPackage>(identifier);
}

}  // namespace

PackagesWishlistViewController::PackagesWishlistViewController()
    : KSPalettedViewController(kNibName) {
    KSPackageTableScreen::registerNib(kNibName, &PackagesWishlistViewController::wishlistTableView,
                                      &PackagesWishlistViewController::tasksProgressBar);
    PackageCell::registerNib();
}

std::shared_ptr<PackagesWishlistViewController> PackagesWishlistViewController::self() {
    return std::static_pointer_cast<PackagesWishlistViewController>(shared_from_this());
}

void PackagesWishlistViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    tasksProgressBar->setHidden(true);
    setTitle(localized("Wishlist"));
    KSPackageTableScreen::connect(*wishlistTableView, self());
    KSPackageTableScreen::addBackSwipe(self());
}

// The rows are the identifiers as they are now: a package that leaves the store before its row
// is drawn leaves an empty row, not a read past the end of a list that has shrunk.
void PackagesWishlistViewController::viewWillAppear(bool animated) {
    KSPalettedViewController::viewWillAppear(animated);
    wishlistTableView->setBackgroundColor(uikit::Color::clear());
    identifiers_.clear();
    KSDatabase::realm()
        .objectsWhere<KSRPackage>("isInWishlist = %@", true)
        .enumerateValuesForKeyPaths({"identifier"}, [&](const std::vector<foundation::Value>& row) {
            identifiers_.push_back(row[0].stringValue());
        });
    if (identifiers_.empty())
        showEmptyWishlistAlert();
    else
        wishlistTableView->reloadData();
}

void PackagesWishlistViewController::showEmptyWishlistAlert() {
    auto alert = uikit::AlertController::create(
        localized("Packages Wishlist"), localized("There are no packages in your wishlist."),
        uikit::AlertController::Style::alert);
    alert->addAction(uikit::AlertAction::create(
        localized("Close"), uikit::AlertAction::Style::defaultStyle,
        [weak = std::weak_ptr(self())](uikit::AlertAction&) {
            auto self = weak.lock();
            if (auto navigation = self ? self->navigationController() : nullptr)
                navigation->popToRoot(true);
        }));
    present(alert, true);
}

void PackagesWishlistViewController::paletteDidChange(const KSPalette& palette) {
    view()->setBackgroundColor(palette.backgroundColor());
}

void PackagesWishlistViewController::backSwipe() {
    KSPackageTableScreen::goBack(*this);
}

std::optional<std::string> PackagesWishlistViewController::identifierAt(
    const IndexPath& indexPath) const {
    if (indexPath.row < 0 || static_cast<std::size_t>(indexPath.row) >= identifiers_.size())
        return std::nullopt;
    return identifiers_[static_cast<std::size_t>(indexPath.row)];
}

int PackagesWishlistViewController::numberOfRowsInSection(TableView&, int) {
    return static_cast<int>(identifiers_.size());
}

std::optional<double> PackagesWishlistViewController::heightForRowAtIndexPath(TableView&,
                                                                              const IndexPath&) {
    return PackageCell::kRowHeight;
}

std::shared_ptr<uikit::TableViewCell> PackagesWishlistViewController::cellForRowAtIndexPath(
    TableView& tableView, const IndexPath& indexPath) {
    auto cell = KSPackageTableScreen::dequeueRow(tableView, indexPath);
    if (!cell)
        return nullptr;
    const auto identifier = identifierAt(indexPath);
    const auto package = identifier ? storedPackage(*identifier) : std::nullopt;
    cell->contentView()->setHidden(!package);
    if (package)
        fillCell(*cell, *package);
    cell->separator->setHidden(indexPath.row == numberOfRowsInSection(tableView, 0) - 1);
    cell->setAccessoryType(package ? uikit::TableViewCell::AccessoryType::disclosureIndicator
                                   : uikit::TableViewCell::AccessoryType::none);
    return cell;
}

// Filled here rather than by the row itself: the wishlist shows the repository's version even
// for an installed package.
void PackagesWishlistViewController::fillCell(PackageCell& cell, const KSRPackage& package) {
    cell.setPackageIdentifier(package.identifier);
    cell.iconView->setImage(
        KSRPackageManager::sharedPackageManager().packages().iconForIdentifier(package.identifier));
    cell.nameLbl->setText(package.name);
    if (palette())
        cell.nameLbl->setTextColor(package.isFree() ? palette()->primaryTextColor()
                                                    : palette()->paidTextColor());
    cell.updateQueuingIconWithPackage(package);
    cell.versionLbl->setHidden(preference("HidePackageVersion"));
    cell.versionLbl->setText(package.version);
    cell.subinfoLbl->setText(KSPackageSourceLine::isPreferred() ? KSPackageSourceLine::text(package)
                                                                : package.maintainer);
    cell.descriptionLbl->setHidden(preference("HidePackageDescription"));
    cell.descriptionLbl->setText(package.Description);
    cell.descriptionLbl->setNumberOfLines(PackageCell::kDescriptionLines);
    cell.updateConpatibilityIndicatorWithPackageIdentifier(package.identifier, package.version);
    cell.iconView->layer().setCornerRadius(kIconCornerRatio * cell.iconView->frame().height());
    cell.iconView->setClipsToBounds(true);
    cell.setNeedsLayout();
}

void PackagesWishlistViewController::didSelectRowAtIndexPath(TableView& tableView,
                                                             const IndexPath& indexPath) {
    tableView.deselectRow(indexPath, true);
    const auto identifier = identifierAt(indexPath);
    const auto package = identifier ? storedPackage(*identifier) : std::nullopt;
    if (!package)
        return;
    KSScreenFactory::Request request;
    request.packageIdentifier = package->identifier;
    request.title = package->name;
    auto page = KSScreenFactory::make(KSScreenFactory::Screen::packagePage, request);
    auto navigation = navigationController();
    if (!page || !navigation)
        return;
    packageDetailsViewController_ = page;
    navigation->push(page, true);
}

}  // namespace corvane
