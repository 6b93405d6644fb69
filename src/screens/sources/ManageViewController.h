#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/storage/KSRSource.h"
#include "screens/sources/KSSourceChangeObserver.h"
#include "screens/sources/SourceViewController.h"
#include "ui/cells/SourcesCell.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/TableView.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"

namespace corvane {

// The root of the sources tab: the configured sources by name, each with its icon, address, how
// many of its packages are installed, how many it offers and when it was refreshed; a row opens
// the source's page. Its add button is the add-source entry.
class ManageViewController : public KSPalettedViewController,
                             public uikit::TableViewDataSource,
                             public uikit::TableViewDelegate {
  public:
    static constexpr const char* kNibName = "ManageViewController";
    static constexpr const char* kReuseIdentifier = "source";

    ManageViewController();

    // Offers the first address copied to the pasteboard that is not a source yet (add it, or
    // enter another); without one, opens the page that adds a source.
    void addSource();
    // The locations of the rows.
    const std::vector<std::string>& sources() const { return locations_; }

    // Outlet, set by the nib.
    std::shared_ptr<uikit::TableView> sourcesTableView;

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
    std::shared_ptr<ManageViewController> self();
    void reloadSources();
    void fillCell(SourcesCell& cell, const KSRSource& source);
    static std::optional<std::string> pasteboardAddress();
    void offerAddress(const std::string& address);
    std::shared_ptr<SourceViewController> openSourcePage(std::optional<std::string> location);

    std::vector<std::string> locations_;
    KSSourceChangeObserver sourceChanges_;
};

}  // namespace corvane
