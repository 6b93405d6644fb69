#pragma once

#include <memory>
#include <optional>
#include <string>

#include "framework/storage/KSRPackage.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/ProgressView.h"
#include "uikit/TableView.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"

namespace corvane {

// The files and folders an installed package put on the device, one row each, indented by how
// deep each lies, as the package's record held them when the screen loaded.
class InstalledFilesViewController : public KSPalettedViewController,
                                     public uikit::TableViewDataSource,
                                     public uikit::TableViewDelegate {
  public:
    static constexpr const char* kNibName = "InstalledFilesViewController";
    static constexpr const char* kReuseIdentifier = "genericCell";
    static constexpr double kEstimatedRowHeight = 88;
    static constexpr double kFontSize = 15;

    InstalledFilesViewController();

    const std::string& packageIdentifier() const { return packageIdentifier_; }
    void setPackageIdentifier(std::string identifier) {
        packageIdentifier_ = std::move(identifier);
    }
    // Nothing before loading, or when no package has the identifier.
    const std::optional<KSRPackage>& package() const { return package_; }

    // Outlets, set by the nib.
    std::shared_ptr<uikit::ProgressView> tasksProgressBar;
    std::shared_ptr<uikit::TableView> installedFilesTableView;

    int numberOfRowsInSection(uikit::TableView& tableView, int section) override;
    std::shared_ptr<uikit::TableViewCell> cellForRowAtIndexPath(
        uikit::TableView& tableView, const uikit::IndexPath& indexPath) override;
    std::optional<double> heightForRowAtIndexPath(uikit::TableView& tableView,
                                                  const uikit::IndexPath& indexPath) override;
    std::optional<double> estimatedHeightForRowAtIndexPath(
        uikit::TableView& tableView, const uikit::IndexPath& indexPath) override;

  protected:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    std::string packageIdentifier_;
    std::optional<KSRPackage> package_;
};

}  // namespace corvane
