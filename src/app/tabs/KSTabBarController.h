#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "app/presentations/HudPresenting.h"
#include "app/presentations/KSPresenter.h"
#include "app/tabs/KSFloatingHudView.h"
#include "foundation/ObservationToken.h"
#include "framework/storage/KSRPackage.h"
#include "store/Results.h"
#include "uikit/TabBarController.h"

namespace corvane {

// The root of the window, built by the storyboard "Main" (KSMainStoryboard). The application
// delegate finds the sources screen at tab kSourcesTabIndex and the search screen at
// kSearchTabIndex.
//
// Above the tab bar floats the panel (KSFloatingHudView): the number of queued packages at rest,
// the running source refreshes while a refresh goes on, and for kQueueModeReturnDelay seconds
// after it has ended the summary of that refresh. The queue and the task list it opens are
// presented over whatever the window shows.
class KSTabBarController : public uikit::TabBarController, public HudPresenting {
  public:
    static constexpr std::size_t kSourcesTabIndex = 3;
    static constexpr std::size_t kSearchTabIndex = 4;
    static constexpr double kQueueModeReturnDelay = 3;
    // startTime while no refresh is shown.
    static constexpr double kNoRefresh = -1;

    const std::shared_ptr<KSFloatingHudView>& hudView() const { return hudView_; }
    // The run loop's clock when the refresh shown began, or kNoRefresh.
    double startTime() const { return startTime_; }

    // The panel shows the number of queued packages, unless a refresh is shown.
    void updateQueueCount();
    // Main thread; they move there when called elsewhere.
    void presentQueue() override;
    void presentTasks() override;

  protected:
    void viewDidLoad() override;
    // The store is first read here, once the launch has migrated it.
    void viewDidAppear(bool animated) override;

  private:
    std::shared_ptr<KSTabBarController> self();
    void observePipelineAndPalette();
    void observeQueueIfNeeded();
    void operationsDidChange();
    void refreshDidStart();
    void refreshDidEnd();
    void returnToQueueMode(std::uint64_t generation);
    void presentInNavigation(std::shared_ptr<uikit::ViewController> root, bool formSheetOnPad);

    double startTime_ = kNoRefresh;
    // The refresh shown has ended and its summary is on the panel.
    bool refreshEnded_ = false;
    // Bumped by every refresh that starts, so that the return to queue mode of an earlier one
    // does not end it.
    std::uint64_t returnGeneration_ = 0;
    std::shared_ptr<KSFloatingHudView> hudView_;
    std::optional<store::Results<KSRPackage>> queuedPackages_;
    foundation::ObservationToken notification_;
    foundation::ObservationToken operationsObservation_;
    foundation::ObservationToken paletteObservation_;
};

}  // namespace corvane
