#pragma once

#include <memory>

#include "foundation/Notification.h"
#include "foundation/ObservationToken.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/AttributedString.h"
#include "uikit/TextView.h"

namespace corvane {

// The verbose console of the running package tasks: every "UpdateVerboseView" message on a line
// of its own, command lines in bold, errors in red and warnings in orange. It follows the tasks
// from the moment it is shown until it is closed (a screen covering it does not stop it), and
// keeps the newest line in sight. Created with make_shared, shown inside a navigation
// controller, which its "Done" button dismisses.
class TasksVerboseViewController : public KSPalettedViewController {
  public:
    static constexpr double kFontSize = 11;

    TasksVerboseViewController();

    // What the console shows so far.
    const uikit::AttributedString& consoleText() const { return consoleText_; }
    bool isFollowingTasks() const { return static_cast<bool>(observation_); }

    // Outlet, set when the view is built.
    std::shared_ptr<uikit::TextView> textView;

  protected:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    void appendMessage(const foundation::Notification& notification);
    void showNewestLine();

    uikit::AttributedString consoleText_;
    foundation::ObservationToken observation_;
};

}  // namespace corvane
