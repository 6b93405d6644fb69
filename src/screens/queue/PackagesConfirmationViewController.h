#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "foundation/ObservationToken.h"
#include "framework/apt/APTDependsTree.h"
#include "screens/queue/KSQueueConfirmationLists.h"
#include "ui/cells/PackageCell.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/Button.h"
#include "uikit/TableView.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"

namespace corvane {

// The last step between the packages marked queued in the store and the work handed to the
// pipeline. It lists the queue, has APT simulate it in the background, and sorts the outcome into
// the queued packages, the other packages APT adds or removes, and those it cannot process.
// A swipe takes a queued package out; Confirm hands the queue as it is then to the pipeline;
// Cancel empties the queue. Shown by the tab bar in a navigation controller.
//
// Confirm is enabled only while the queued list has rows, no simulation is pending (one result
// stands for the list shown), no package is incompatible and no source refresh runs. Each
// simulation carries a generation: only the result of the newest is applied.
class PackagesConfirmationViewController : public KSPalettedViewController,
                                           public uikit::TableViewDataSource,
                                           public uikit::TableViewDelegate {
  public:
    static constexpr const char* kNibName = "PackagesConfirmationViewController";
    static constexpr const char* kFooterReuseIdentifier = "footerCell";
    static constexpr const char* kShowVerboseViewNotification = "ShowVerboseView";
    static constexpr double kHeaderHeight = 28;
    static constexpr double kFooterHeight = 75;
    static constexpr double kNoSupplementHeight = 0.001;
    static constexpr double kConfirmCornerRadius = 10;
    // From a row's deletion to the simulation of what is left.
    static constexpr double kResimulationDelay = 1;

    PackagesConfirmationViewController();

    const KSQueueConfirmationLists& dataSource() const { return lists_; }
    // The result of the last simulation applied.
    const APTDependsTree& dependsTree() const { return dependsTree_; }
    bool isWaitingOnDependencies() const { return waitingOnDependencies_; }
    bool isWaitingOnTasks() const { return waitingOnTasks_; }

    // Reads the queue from the store again and simulates it; nothing while the user drags.
    void refreshQueue();
    // The Confirm button.
    void confirmQueue();
    // The Cancel button.
    void cancelQueue();
    // The Add button: closes the screen so that more packages can be queued.
    void continueQueuing();
    // The title of the Confirm button, which is enabled by the rule above.
    void setButtonTitle(const std::string& title);

    // Outlets, set by the nib.
    std::shared_ptr<uikit::TableView> packagesConfirmationTableView;
    std::shared_ptr<uikit::Button> confirmBtn;

    // Table.
    int numberOfSections(uikit::TableView& tableView) override;
    int numberOfRowsInSection(uikit::TableView& tableView, int section) override;
    std::shared_ptr<uikit::TableViewCell> cellForRowAtIndexPath(
        uikit::TableView& tableView, const uikit::IndexPath& indexPath) override;
    std::optional<std::string> titleForHeaderInSection(uikit::TableView& tableView,
                                                       int section) override;
    bool canEditRowAtIndexPath(uikit::TableView& tableView,
                               const uikit::IndexPath& indexPath) override;
    void commitEditingStyle(uikit::TableView& tableView, uikit::TableViewCell::EditingStyle style,
                            const uikit::IndexPath& indexPath) override;
    std::optional<double> heightForRowAtIndexPath(uikit::TableView& tableView,
                                                  const uikit::IndexPath& indexPath) override;
    std::optional<double> heightForHeaderInSection(uikit::TableView& tableView,
                                                   int section) override;
    std::optional<double> heightForFooterInSection(uikit::TableView& tableView,
                                                   int section) override;
    std::shared_ptr<uikit::View> viewForFooterInSection(uikit::TableView& tableView,
                                                        int section) override;
    void willDisplayHeaderView(uikit::TableView& tableView, uikit::View& view,
                               int section) override;
    void willDisplayFooterView(uikit::TableView& tableView, uikit::View& view,
                               int section) override;
    uikit::TableViewCell::EditingStyle editingStyleForRowAtIndexPath(
        uikit::TableView& tableView, const uikit::IndexPath& indexPath) override;
    void scrollViewWillBeginDragging(uikit::ScrollView& scrollView) override;
    void scrollViewDidEndDragging(uikit::ScrollView& scrollView, bool willDecelerate) override;
    void scrollViewDidEndDecelerating(uikit::ScrollView& scrollView) override;

  protected:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    std::shared_ptr<PackagesConfirmationViewController> self();
    void addBarButtons();
    void observeRefreshesAndStore();
    void refreshCountDidChange();
    void sourceRefreshed();
    void simulate(const std::string& queueString);
    void simulationDidFinish(std::uint64_t generation, const APTDependsTree& tree);
    void updateConfirmButton();
    void deleteRow(const uikit::IndexPath& indexPath);
    void scheduleResimulation();
    void endScrolling();
    void close(std::function<void()> completion = {});
    void fillCell(PackageCell& cell, const KSRPackage& package, int section);
    static void showReason(PackageCell& cell, const std::string& reason);
    std::shared_ptr<uikit::Image> iconForRow(const KSRPackage& package) const;

    KSQueueConfirmationLists lists_;
    APTDependsTree dependsTree_;
    bool waitingOnDependencies_ = false;
    bool waitingOnTasks_ = false;
    bool isScrolling_ = false;
    bool needCacheRebuild_ = false;
    // Set once the screen has asked to go: nothing it scheduled runs after that.
    bool closing_ = false;
    std::uint64_t simulationGeneration_ = 0;
    foundation::ObservationToken refreshCountObservation_;
    foundation::ObservationToken sourceObservation_;
    foundation::ObservationToken iconObservation_;
};

}  // namespace corvane
