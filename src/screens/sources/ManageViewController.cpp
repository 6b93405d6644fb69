#include "screens/sources/ManageViewController.h"

#include <algorithm>

#include "foundation/DateFormatter.h"
#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "framework/links/URLsFromString.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRSourceAddress.h"
#include "screens/KSTableScreenNib.h"
#include "screens/sources/KSSourceSummary.h"
#include "uikit/AlertController.h"
#include "uikit/BarButtonItem.h"
#include "uikit/NavigationController.h"
#include "uikit/Pasteboard.h"

namespace corvane {

using foundation::localized;
using uikit::AlertAction;
using uikit::IndexPath;
using uikit::TableView;

namespace {

std::vector<KSRSource> sourcesByName() {
    std::vector<KSRSource> sources;
    for (const auto& source : KSDatabase::realm().allObjects<KSRSource>())
        sources.push_back(source);
    auto key = [](const KSRSource& source) {
        auto name = KSSourceSummary::displayName(source);
        std::ranges::transform(name, name.begin(), [](unsigned char c) { return std::tolower(c); });
        return name;
    };
    std::ranges::sort(sources, {}, key);
    return sources;
}

bool isStored(const std::string& location) {
    auto realm = KSDatabase::realm();
    return realm.objectForPrimaryKey<KSRSource>(location) ||
           realm.objectForPrimaryKey<KSRSource>(KSRSourceAddress::withOtherScheme(location));
}

std::string refreshText(const KSRSource& source, bool refreshing) {
    if (refreshing)
        return localized("Refreshing…");
    if (source.hasErrors)
        return localized("Failed");
    if (!source.lastRefreshDate)
        return localized("Never");
    return foundation::DateFormatter::shortDate().stringFromDate(*source.lastRefreshDate);
}

}  // namespace

ManageViewController::ManageViewController() : KSPalettedViewController(kNibName) {
    KSTableScreenNib::registerNib(kNibName, &ManageViewController::sourcesTableView);
    SourcesCell::registerNib();
    setTitle(localized("Sources"));
}

std::shared_ptr<ManageViewController> ManageViewController::self() {
    return std::static_pointer_cast<ManageViewController>(shared_from_this());
}

void ManageViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    sourcesTableView->setDataSource(std::weak_ptr<uikit::TableViewDataSource>(self()));
    sourcesTableView->setDelegate(std::weak_ptr<uikit::TableViewDelegate>(self()));
    sourcesTableView->registerNib(SourcesCell::kNibName, kReuseIdentifier);
    sourcesTableView->setBackgroundColor(uikit::Color::clear());
    std::weak_ptr<ManageViewController> weak = self();
    navigationItem()->setRightBarButtonItem(uikit::BarButtonItem::withSystemItem(
        uikit::BarButtonItem::SystemItem::add, [weak](uikit::BarButtonItem&) {
            if (auto self = weak.lock())
                self->addSource();
        }));
    sourceChanges_.observe([weak](const std::string&) {
        if (auto self = weak.lock())
            self->reloadSources();
    });
}

void ManageViewController::viewWillAppear(bool animated) {
    KSPalettedViewController::viewWillAppear(animated);
    reloadSources();
}

void ManageViewController::paletteDidChange(const KSPalette& palette) {
    view()->setBackgroundColor(palette.backgroundColor());
    if (sourcesTableView)
        sourcesTableView->reloadData();
}

void ManageViewController::reloadSources() {
    locations_.clear();
    for (const auto& source : sourcesByName())
        locations_.push_back(source.location);
    sourcesTableView->reloadData();
}

void ManageViewController::addSource() {
    if (auto address = pasteboardAddress())
        offerAddress(*address);
    else
        openSourcePage(std::nullopt);
}

// Text copied from anywhere: only an http or https address that names no stored source.
std::optional<std::string> ManageViewController::pasteboardAddress() {
    const auto text = uikit::Pasteboard::general().string();
    if (!text)
        return std::nullopt;
    for (const auto& url : URLs(*text)) {
        const auto address = url.absoluteString();
        const auto location = KSRSourceAddress::normalised(address);
        if (location && !isStored(*location))
            return address;
    }
    return std::nullopt;
}

void ManageViewController::offerAddress(const std::string& address) {
    auto offer = uikit::AlertController::create(
        localized("Add Source"),
        foundation::format(localized("Would you like to add the source %@ from the clipboard?"),
                           address),
        uikit::AlertController::Style::alert);
    std::weak_ptr<ManageViewController> weak = self();
    offer->addAction(AlertAction::create(
        localized("Add"), AlertAction::Style::defaultStyle, [weak, address](AlertAction&) {
            auto self = weak.lock();
            if (auto page = self ? self->openSourcePage(std::nullopt) : nullptr)
                page->addSource(address);
        }));
    offer->addAction(AlertAction::create(localized("Enter Another"),
                                         AlertAction::Style::defaultStyle, [weak](AlertAction&) {
                                             if (auto self = weak.lock())
                                                 self->openSourcePage(std::nullopt);
                                         }));
    offer->addAction(AlertAction::create(localized("Cancel"), AlertAction::Style::cancel, {}));
    present(offer, true);
}

std::shared_ptr<SourceViewController> ManageViewController::openSourcePage(
    std::optional<std::string> location) {
    auto navigation = navigationController();
    if (!navigation)
        return nullptr;
    auto page = std::make_shared<SourceViewController>();
    page->setSourceLocation(std::move(location));
    navigation->push(page, true);
    return page;
}

int ManageViewController::numberOfRowsInSection(TableView&, int) {
    return static_cast<int>(locations_.size());
}

std::optional<double> ManageViewController::heightForRowAtIndexPath(TableView&, const IndexPath&) {
    return SourcesCell::kRowHeight;
}

std::shared_ptr<uikit::TableViewCell> ManageViewController::cellForRowAtIndexPath(
    TableView& tableView, const IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<SourcesCell>(
        tableView.dequeueReusableCell(kReuseIdentifier, indexPath));
    const auto row = static_cast<std::size_t>(indexPath.row);
    if (!cell || row >= locations_.size())
        return cell;
    auto source = KSDatabase::realm().objectForPrimaryKey<KSRSource>(locations_[row]);
    fillCell(*cell, source.value_or(KSRSource{.location = locations_[row]}));
    cell->separator->setHidden(row + 1 == locations_.size());
    return cell;
}

void ManageViewController::fillCell(SourcesCell& cell, const KSRSource& source) {
    cell.setBackgroundColor(uikit::Color::clear());
    const bool refreshing = KSSourceSummary::isRefreshing(source.location);
    cell.setSourceLocation(source.location);
    cell.setRegenDate(refreshText(source, refreshing));
    cell.iconView->setImage(KSSourceSummary::icon(source.location));
    cell.nameLbl->setText(KSSourceSummary::displayName(source));
    cell.descriptionLbl->setText(source.location);
    cell.installedPackagesLbl->setText(foundation::format(
        localized("%lld Installed"), KSSourceSummary::installedPackagesCount(source.location)));
    cell.totalPackagesLbl->setText(
        foundation::format(localized("%lld Packages"), source.packagesCount));
    cell.lastRepoRegenLbl->setText(cell.regenDate());
    cell.lastRepoRegenLbl->setTextColor(
        source.hasErrors && !refreshing ? uikit::Color::systemRed() : uikit::Color::white(0.45));
    if (palette())
        cell.nameLbl->setTextColor(palette()->primaryTextColor());
}

void ManageViewController::didSelectRowAtIndexPath(TableView& tableView,
                                                   const IndexPath& indexPath) {
    tableView.deselectRow(indexPath, true);
    const auto row = static_cast<std::size_t>(indexPath.row);
    if (row < locations_.size())
        openSourcePage(locations_[row]);
}

}  // namespace corvane
