#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Notification.h"
#include "foundation/ObservationToken.h"
#include "framework/storage/KSRPackage.h"
#include "ui/cells/GetPackageCell.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/TableView.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"

namespace corvane {

// Every stored package whose maintainer is exactly the given text, by name, each with its Get
// button. Packages known not to work on this system stay out unless the user asked to see
// incompatible packages. The rows are the identifiers found when the screen loaded; a package
// that has left the store since leaves its row empty.
class AllDevPackagesViewController : public KSPalettedViewController,
                                     public uikit::TableViewDataSource,
                                     public uikit::TableViewDelegate {
  public:
    static constexpr const char* kNibName = "AllDevPackagesViewController";
    static constexpr const char* kReuseIdentifier = "getPackageCell";

    AllDevPackagesViewController();

    const std::optional<std::string>& titleString() const { return titleString_; }
    void setTitleString(std::optional<std::string> title) { titleString_ = std::move(title); }
    const std::optional<std::string>& maintainer() const { return maintainer_; }
    void setMaintainer(std::optional<std::string> maintainer) {
        maintainer_ = std::move(maintainer);
    }

    // The maintainer's stored packages by name, as the list shows them.
    static std::vector<std::string> identifiersOfMaintainer(const std::string& maintainer);

    // The identifiers of the rows, in order.
    const std::vector<std::string>& packages() const { return identifiers_; }
    const std::shared_ptr<uikit::ViewController>& packageDetailsViewController() const {
        return packageDetailsViewController_;
    }
    void backSwipe();

    // Outlet, set by the nib.
    std::shared_ptr<uikit::TableView> devPackagesTableView;

    int numberOfRowsInSection(uikit::TableView& tableView, int section) override;
    std::shared_ptr<uikit::TableViewCell> cellForRowAtIndexPath(
        uikit::TableView& tableView, const uikit::IndexPath& indexPath) override;
    std::optional<double> heightForRowAtIndexPath(uikit::TableView& tableView,
                                                  const uikit::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(uikit::TableView& tableView,
                                 const uikit::IndexPath& indexPath) override;
    void scrollViewDidEndDecelerating(uikit::ScrollView& scrollView) override;

  protected:
    void viewDidLoad() override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    std::shared_ptr<AllDevPackagesViewController> self();
    void fillCell(GetPackageCell& cell, const KSRPackage& package);
    void iconChanged(const foundation::Notification& notification);
    std::optional<KSRPackage> packageAt(const uikit::IndexPath& indexPath) const;

    std::optional<std::string> titleString_;
    std::optional<std::string> maintainer_;
    std::vector<std::string> identifiers_;
    std::shared_ptr<uikit::ViewController> packageDetailsViewController_;
    foundation::ObservationToken iconObservation_;
};

}  // namespace corvane
