#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Notification.h"
#include "foundation/ObservationToken.h"
#include "framework/storage/KSRPackage.h"
#include "screens/packages/KSPackageListInputs.h"
#include "screens/packages/KSPackageListSections.h"
#include "store/Results.h"
#include "ui/cells/PackageCell.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/BarButtonItem.h"
#include "uikit/ProgressView.h"
#include "uikit/TableView.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"

namespace corvane {

// Every list of packages: all, installed, updated, new, new versions, of a source, of a category,
// a search, the purchased ones, followed developers' and sources' new packages, the downloads.
// The creating screen sets the inputs of the list it wants and its navigation title, then pushes
// it. The list runs its query and regroups its sections on every appearance and when a source
// changes, but never while the user scrolls: a rebuild asked for meanwhile waits until scrolling
// has come to rest. Rows hold package identifiers only; a package is read when its row is drawn,
// selected or swiped.
class PackagesTableViewController : public KSPalettedViewController,
                                    public uikit::TableViewDataSource,
                                    public uikit::TableViewDelegate {
  public:
    static constexpr const char* kNibName = "PackagesTableViewController";

    PackagesTableViewController();

    // Inputs, set before the list is shown.
    const KSPackageListInputs& inputs() const { return inputs_; }
    void setCategory(KSPackageListCategory category) { inputs_.category = std::move(category); }
    void setSubcategory(std::optional<std::string> subcategory);
    void setSearch(std::optional<std::string> search) { inputs_.search = std::move(search); }
    void setSourceLocation(std::optional<std::string> location);
    void setFollowedDeveloper(std::optional<KSRDeveloper> developer);
    void setNewsSourcePackagesToShow(std::vector<std::string> identifiers);
    void setDownloadsHistory(std::vector<std::string> identifiers);
    bool isComingFromFeatured() const { return isComingFromFeatured_; }
    void setIsComingFromFeatured(bool on) { isComingFromFeatured_ = on; }

    // The list as the last rebuild left it.
    const std::optional<store::Results<KSRPackage>>& packages() const { return packages_; }
    const KSPackageListSections& sections() const { return sections_; }
    bool isScrolling() const { return isScrolling_; }
    bool needCacheRebuild() const { return needCacheRebuild_; }
    // The package page or web depiction pushed last.
    const std::shared_ptr<uikit::ViewController>& packageViewController() const {
        return packageViewController_;
    }

    // Runs the list's query and regroups its rows; does nothing while the user scrolls.
    void rebuildCache();
    std::string sortPropertyForPrefs() const;
    void rebuildSectionsCacheForSortCriteria(const std::string& criterion);

    // The sort sheet, pointing at the sort button.
    void sortPackages(const std::shared_ptr<uikit::BarButtonItem>& sender);
    // The queue was changed elsewhere: the rows stay, their cells are drawn again.
    void updateUI();
    // The source page of the list's source, presented.
    void sourceInfo();
    // The packages bought from the list's source, pushed.
    void seeSileoPurchasedPackages();
    void backSwipe();

    // Outlets, set by the nib.
    std::shared_ptr<uikit::TableView> packagesTableView;
    std::shared_ptr<uikit::ProgressView> tasksProgressBar;

    // Table.
    int numberOfSections(uikit::TableView& tableView) override;
    int numberOfRowsInSection(uikit::TableView& tableView, int section) override;
    std::optional<std::string> titleForHeaderInSection(uikit::TableView& tableView,
                                                       int section) override;
    std::vector<std::string> sectionIndexTitles(uikit::TableView& tableView) override;
    std::shared_ptr<uikit::TableViewCell> cellForRowAtIndexPath(
        uikit::TableView& tableView, const uikit::IndexPath& indexPath) override;
    bool canEditRowAtIndexPath(uikit::TableView& tableView,
                               const uikit::IndexPath& indexPath) override;
    std::optional<double> heightForRowAtIndexPath(uikit::TableView& tableView,
                                                  const uikit::IndexPath& indexPath) override;
    void willDisplayHeaderView(uikit::TableView& tableView, uikit::View& view,
                               int section) override;
    void didSelectRowAtIndexPath(uikit::TableView& tableView,
                                 const uikit::IndexPath& indexPath) override;
    std::shared_ptr<uikit::SwipeActionsConfiguration>
    trailingSwipeActionsConfigurationForRowAtIndexPath(uikit::TableView& tableView,
                                                       const uikit::IndexPath& indexPath) override;

    // Scrolling.
    void scrollViewWillBeginDragging(uikit::ScrollView& scrollView) override;
    void scrollViewDidEndDragging(uikit::ScrollView& scrollView, bool willDecelerate) override;
    void scrollViewDidEndDecelerating(uikit::ScrollView& scrollView) override;

  protected:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    std::shared_ptr<PackagesTableViewController> self();
    void observeNotifications();
    void updateSortButton();
    void sourceRefreshed();
    void iconChanged(const foundation::Notification& notification);
    // The rows of the packages shown now; none when the list runs no query of its own.
    std::optional<store::Results<KSRPackage>> listedPackages(const std::string& sortKey) const;
    void fillCell(PackageCell& cell, const std::optional<KSRPackage>& package,
                  const std::string& identifier);
    std::shared_ptr<uikit::Image> iconForRow(const std::string& identifier,
                                             const std::optional<KSRPackage>& package) const;
    std::shared_ptr<PackageCell> visibleCellOfPackage(const std::string& identifier);
    void redrawQueueIcon(const std::string& identifier);
    void openPackage(const std::string& identifier);
    std::optional<std::string> identifierAt(const uikit::IndexPath& indexPath) const;
    void endScrolling();

    KSPackageListInputs inputs_;
    bool isComingFromFeatured_ = false;
    std::optional<store::Results<KSRPackage>> packages_;
    KSPackageListSections sections_;
    bool isScrolling_ = false;
    bool needCacheRebuild_ = true;
    std::shared_ptr<uikit::ViewController> packageViewController_;
    foundation::ObservationToken sourceObservation_;
    foundation::ObservationToken iconObservation_;
};

}  // namespace corvane
