#include "screens/packages/InstalledFilesViewController.h"

#include "foundation/Localization.h"
#include "foundation/Strings.h"
#include "framework/storage/KSDatabase.h"
#include "screens/packages/KSPackageTableScreen.h"
#include "ui/cells/GenericCell.h"

namespace corvane {

using uikit::IndexPath;
using uikit::TableView;

namespace {

// The tree as text: nothing for a name without "/", a path one level down as it is, and deeper
// paths as one tab per level below the first, then "/" and the last component.
std::string rowText(const std::string& path) {
    const std::size_t parts = foundation::split(path, "/").size();
    if (parts < 2)
        return "";
    if (parts == 2)
        return path;
    return std::string(parts - 2, '\t') + "/" + foundation::lastPathComponent(path);
}

}  // namespace

InstalledFilesViewController::InstalledFilesViewController() : KSPalettedViewController(kNibName) {
    KSPackageTableScreen::registerNib(kNibName,
                                      &InstalledFilesViewController::installedFilesTableView,
                                      &InstalledFilesViewController::tasksProgressBar);
    GenericCell::registerNib();
}

void InstalledFilesViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    setOverrideLargeTitles(true);
    tasksProgressBar->setHidden(true);
    setTitle(foundation::localized("Installed Files"));
    package_ = KSDatabase::realm().objectForPrimaryKey<KSRPackage>(packageIdentifier_);
    auto self = std::static_pointer_cast<InstalledFilesViewController>(shared_from_this());
    installedFilesTableView->setDelegate(std::weak_ptr<uikit::TableViewDelegate>(self));
    installedFilesTableView->setDataSource(std::weak_ptr<uikit::TableViewDataSource>(self));
    installedFilesTableView->registerNib(GenericCell::kNibName, kReuseIdentifier);
}

void InstalledFilesViewController::viewWillAppear(bool animated) {
    KSPalettedViewController::viewWillAppear(animated);
    installedFilesTableView->setBackgroundColor(uikit::Color::clear());
}

void InstalledFilesViewController::paletteDidChange(const KSPalette& palette) {
    view()->setBackgroundColor(palette.backgroundColor());
}

int InstalledFilesViewController::numberOfRowsInSection(TableView&, int) {
    return package_ ? static_cast<int>(package_->installedFiles.size()) : 0;
}

std::optional<double> InstalledFilesViewController::heightForRowAtIndexPath(TableView&,
                                                                            const IndexPath&) {
    return TableView::automaticDimension;
}

std::optional<double> InstalledFilesViewController::estimatedHeightForRowAtIndexPath(
    TableView&, const IndexPath&) {
    return kEstimatedRowHeight;
}

std::shared_ptr<uikit::TableViewCell> InstalledFilesViewController::cellForRowAtIndexPath(
    TableView& tableView, const IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCell(kReuseIdentifier, indexPath);
    const auto row = static_cast<std::size_t>(indexPath.row);
    if (!cell || !package_ || row >= package_->installedFiles.size())
        return cell;
    cell->setSelectionStyle(uikit::TableViewCell::SelectionStyle::none);
    const auto& label = cell->textLabel();
    label->setText(rowText(package_->installedFiles[row]));
    label->setFont(uikit::Font::systemFont(kFontSize));
    label->setNumberOfLines(0);
    label->setLineBreakMode(uikit::LineBreakMode::byWordWrapping);
    if (palette()) {
        label->setTextColor(palette()->primaryTextColor());
        cell->setBackgroundColor(palette()->cellBackgroundColor());
    }
    return cell;
}

}  // namespace corvane
