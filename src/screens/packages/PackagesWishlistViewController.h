#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/storage/KSRPackage.h"
#include "ui/cells/PackageCell.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/ProgressView.h"
#include "uikit/TableView.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"

namespace corvane {

// The packages on the user's wishlist, in the order they were stored, read again on every
// appearance so that a package taken off the list on its page is gone on return. An empty
// wishlist is never shown as an empty table: an alert says so and goes back to the root screen.
class PackagesWishlistViewController : public KSPalettedViewController,
                                       public uikit::TableViewDataSource,
                                       public uikit::TableViewDelegate {
  public:
    static constexpr const char* kNibName = "PackagesWishlistViewController";
    static constexpr double kIconCornerRatio = 0.2237;

    PackagesWishlistViewController();

    // The identifiers of the rows as the last appearance read them.
    const std::vector<std::string>& packages() const { return identifiers_; }
    const std::shared_ptr<uikit::ViewController>& packageDetailsViewController() const {
        return packageDetailsViewController_;
    }
    void backSwipe();

    // Outlets, set by the nib.
    std::shared_ptr<uikit::TableView> wishlistTableView;
    std::shared_ptr<uikit::ProgressView> tasksProgressBar;

    int numberOfRowsInSection(uikit::TableView& tableView, int section) override;
    std::shared_ptr<uikit::TableViewCell> cellForRowAtIndexPath(
        uikit::TableView& tableView, const uikit::IndexPath& indexPath) override;
    std::optional<double> heightForRowAtIndexPath(uikit::TableView& tableView,
                                                  const uikit::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(uikit::TableView& tableView,
                                 const uikit::IndexPath& indexPath) override;

  protected:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    std::shared_ptr<PackagesWishlistViewController> self();
    void showEmptyWishlistAlert();
    void fillCell(PackageCell& cell, const KSRPackage& package);
    std::optional<std::string> identifierAt(const uikit::IndexPath& indexPath) const;

    std::vector<std::string> identifiers_;
    std::shared_ptr<uikit::ViewController> packageDetailsViewController_;
};

}  // namespace corvane
