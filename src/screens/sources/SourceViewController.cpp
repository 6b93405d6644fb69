#include "screens/sources/SourceViewController.h"

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "screens/packages/KSPackageListQuery.h"
#include "screens/packages/KSPackageOpener.h"
#include "screens/sources/KSSourceSummary.h"
#include "screens/sources/SourceViewControllerNib.h"
#include "ui/cells/PackageCell.h"
#include "uikit/BarButtonItem.h"
#include "uikit/NavigationController.h"
#include "uikit/TableViewHeaderFooterView.h"

namespace corvane {

using foundation::localized;
using uikit::IndexPath;
using uikit::TableView;

namespace {

constexpr double kInset = SourceViewControllerNib::kInset;

std::vector<std::string> packagesOfSource(const std::string& location) {
    KSPackageListInputs inputs;
    inputs.category = kCategorySpecial_SourcePackages;
    inputs.subcategory = KSPackageListQuery::kAllPackagesSubcategory;
    inputs.sourceLocation = location;
    std::vector<std::string> identifiers;
    if (auto packages = KSPackageListQuery::packagesForList(inputs, "name"))
        packages->enumerateValuesForKeyPaths({"identifier"},
                                             [&](const std::vector<foundation::Value>& row) {
                                                 identifiers.push_back(row[0].stringValue());
                                             });
    return identifiers;
}

}  // namespace

SourceViewController::SourceViewController() : KSPalettedViewController(kNibName) {
    SourceViewControllerNib::registerNib();
    PackageCell::registerNib();
}

std::shared_ptr<SourceViewController> SourceViewController::self() {
    return std::static_pointer_cast<SourceViewController>(shared_from_this());
}

void SourceViewController::setSourceLocation(std::optional<std::string> location) {
    sourceLocation_ = std::move(location);
    if (isViewLoaded())
        showSource();
}

void SourceViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    sourceTableView->setDataSource(std::weak_ptr<uikit::TableViewDataSource>(self()));
    sourceTableView->setDelegate(std::weak_ptr<uikit::TableViewDelegate>(self()));
    sourceTableView->registerNib(PackageCell::kNibName, PackageCell::kReuseIdentifier);
    sourceTableView->setBackgroundColor(uikit::Color::clear());
    if (isPresented_)
        addCloseButton();
    connectAddSourceForm();
    observeSource();
    showSource();
}

void SourceViewController::addCloseButton() {
    navigationItem()->setLeftBarButtonItem(
        uikit::BarButtonItem::withTitle(localized("Close"), uikit::BarButtonItem::Style::plain,
                                        [weak = std::weak_ptr(self())](uikit::BarButtonItem&) {
                                            if (auto self = weak.lock())
                                                self->dismiss(true);
                                        }));
}

void SourceViewController::connectAddSourceForm() {
    auto add = [weak = std::weak_ptr(self())](uikit::Control&) {
        if (auto self = weak.lock())
            self->addTypedSource();
    };
    addBtn->addAction(add, uikit::ControlEvent::touchUpInside);
    addressField->addAction(add, uikit::ControlEvent::editingDidEndOnExit);
}

void SourceViewController::observeSource() {
    sourceChanges_.observe([weak = std::weak_ptr(self())](const std::string& location) {
        auto self = weak.lock();
        if (self && self->sourceLocation_ == location)
            self->showSource();
    });
}

void SourceViewController::viewWillAppear(bool animated) {
    KSPalettedViewController::viewWillAppear(animated);
    showSource();
}

void SourceViewController::paletteDidChange(const KSPalette& palette) {
    view()->setBackgroundColor(palette.backgroundColor());
    if (!nameLbl)
        return;
    for (const auto& label : {nameLbl, descriptionLbl})
        label->setTextColor(palette.primaryTextColor());
    locationLbl->setTextColor(palette.secondaryTextColor());
    addressField->setTextColor(palette.primaryTextColor());
    if (auto box = addressField->superview())
        box->setBackgroundColor(palette.foregroundColor());
    addBtn->setBackgroundColor(palette.tintColor());
    addBtn->setTitleColor(palette.backgroundColor());
    showSource();
}

void SourceViewController::showSource() {
    if (!sourceLocation_)
        return showAddSourceForm();
    auto stored = KSDatabase::realm().objectForPrimaryKey<KSRSource>(*sourceLocation_);
    showStoredSource(stored.value_or(KSRSource{.location = *sourceLocation_}));
}

void SourceViewController::showAddSourceForm() {
    setTitle(localized("Add Source"));
    addBtn->setEnabled(!isAdding());
    sourceTableView->setTableHeaderView(addSourceView);
    packages_.clear();
    sourceTableView->reloadData();
}

void SourceViewController::showStoredSource(const KSRSource& source) {
    const auto name = KSSourceSummary::displayName(source);
    setTitle(name);
    iconView->setImage(KSSourceSummary::icon(source.location));
    nameLbl->setText(name);
    locationLbl->setText(source.location);
    descriptionLbl->setText(source.Description);
    showState(source);
    layoutSourceHeader();
    packages_ = packagesOfSource(source.location);
    sourceTableView->reloadData();
}

void SourceViewController::showState(const KSRSource& source) {
    const bool refreshing = KSSourceSummary::isRefreshing(source.location);
    stateLbl->setText(KSSourceSummary::state(source, refreshing));
    if (!refreshing && source.hasErrors)
        stateLbl->setTextColor(uikit::Color::systemRed());
    else if (palette())
        stateLbl->setTextColor(palette()->secondaryTextColor());
}

// The description takes the lines it needs; the table is handed its header again so that it
// places the rows below the new height.
void SourceViewController::layoutSourceHeader() {
    const double width = sourceHeaderView->bounds().width() - 2 * kInset;
    auto frame = descriptionLbl->frame();
    const bool hasDescription = descriptionLbl->text() && !descriptionLbl->text()->empty();
    frame.size.height = hasDescription ? descriptionLbl->sizeThatFits({width, 1e6}).height : 0;
    descriptionLbl->setFrame(frame);
    auto state = stateLbl->frame();
    state.origin.y = frame.maxY() + (hasDescription ? 8 : 0);
    state.size.height = stateLbl->sizeThatFits({width, 1e6}).height;
    stateLbl->setFrame(state);
    auto header = sourceHeaderView->frame();
    header.size.height = state.maxY() + kInset;
    sourceHeaderView->setFrame(header);
    sourceTableView->setTableHeaderView(sourceHeaderView);
}

void SourceViewController::addTypedSource() {
    addressField->resignFirstResponder();
    addSource(addressField->text());
}

void SourceViewController::addSource(const std::string& address) {
    loadViewIfNeeded();
    if (isAdding())
        return;
    addressField->setText(address);
    messageLbl->setText(localized("Adding the source…"));
    if (palette())
        messageLbl->setTextColor(palette()->secondaryTextColor());
    addBtn->setEnabled(false);
    std::weak_ptr<SourceViewController> weak = self();
    auto presenting = [weak](const std::shared_ptr<uikit::ViewController>& alert) {
        auto self = weak.lock();
        if (!self || !self->containingWindow())
            return false;
        self->present(alert, true);
        return true;
    };
    addition_ = std::make_shared<KSSourceAddition>(presenting, localized("Add Source"), address);
    addition_->start([weak](KSSourceAddition::Outcome outcome, const std::string& message) {
        if (auto self = weak.lock())
            self->additionEnded(outcome, message);
    });
}

void SourceViewController::additionEnded(KSSourceAddition::Outcome outcome,
                                         const std::string& message) {
    const auto location = std::exchange(addition_, nullptr)->location();
    addBtn->setEnabled(true);
    messageLbl->setTextColor(uikit::Color::systemRed());
    messageLbl->setText(outcome == KSSourceAddition::Outcome::refused ? message : "");
    if (outcome == KSSourceAddition::Outcome::refreshed)
        setSourceLocation(location);
}

int SourceViewController::numberOfRowsInSection(TableView&, int) {
    return static_cast<int>(packages_.size());
}

std::optional<std::string> SourceViewController::titleForHeaderInSection(TableView&, int) {
    if (packages_.empty())
        return std::nullopt;
    return foundation::format(localized("%lu Packages"), packages_.size());
}

std::optional<double> SourceViewController::heightForRowAtIndexPath(TableView&, const IndexPath&) {
    return PackageCell::kRowHeight;
}

void SourceViewController::willDisplayHeaderView(TableView&, uikit::View& view, int) {
    auto* header = dynamic_cast<uikit::TableViewHeaderFooterView*>(&view);
    if (!header || !palette())
        return;
    header->setTintColor(palette()->backgroundColor());
    header->textLabel()->setTextColor(palette()->primaryTextColor());
}

std::shared_ptr<uikit::TableViewCell> SourceViewController::cellForRowAtIndexPath(
    TableView& tableView, const IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<PackageCell>(
        tableView.dequeueReusableCell(PackageCell::kReuseIdentifier, indexPath));
    const auto row = static_cast<std::size_t>(indexPath.row);
    if (!cell || row >= packages_.size())
        return cell;
    const auto& identifier = packages_[row];
    const auto package = KSDatabase::realm().objectForPrimaryKey<KSRPackage>(identifier);
    cell->updateWithPackage(package.value_or(KSRPackage{.identifier = identifier}));
    cell->updateQueuingIconWithPackage(package);
    cell->updateConpatibilityIndicatorWithPackageIdentifier(
        identifier, package ? package->version : std::nullopt);
    cell->updatePackageIcon();
    cell->setAccessoryType(uikit::TableViewCell::AccessoryType::disclosureIndicator);
    if (palette())
        cell->nameLbl->setTextColor(!package || package->isFree() ? palette()->primaryTextColor()
                                                                  : palette()->paidTextColor());
    cell->separator->setHidden(row + 1 == packages_.size());
    return cell;
}

void SourceViewController::didSelectRowAtIndexPath(TableView& tableView,
                                                   const IndexPath& indexPath) {
    tableView.deselectRow(indexPath, true);
    const auto row = static_cast<std::size_t>(indexPath.row);
    auto navigation = navigationController();
    if (row >= packages_.size() || !navigation)
        return;
    if (auto page = KSPackageOpener::screenForPackage(packages_[row])) {
        packageViewController_ = page;
        navigation->push(page, true);
    }
}

}  // namespace corvane
