#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/core/KSPalettedViewController.h"
#include "uikit/SegmentedControl.h"
#include "uikit/StackView.h"

namespace corvane {

// Shows one of several child screens at a time, chosen with a segmented control in the right
// item of its navigation bar; a switch cross-fades the children over 0.25 s.
//
// A switch asked for while one runs waits for it to end; switching to the child shown, or to an
// index without a child, does nothing.
class SegmentedViewController : public KSPalettedViewController {
  public:
    static constexpr double kTransitionDuration = 0.25;

    // The titles go on the segments in order, one per child. A first index without a child
    // shows the first child.
    static std::shared_ptr<SegmentedViewController> initWithControllers(
        std::vector<std::shared_ptr<uikit::ViewController>> viewControllers,
        std::vector<std::string> viewTitles, int fistIndex);

    SegmentedViewController(std::vector<std::shared_ptr<uikit::ViewController>> viewControllers,
                            std::vector<std::string> viewTitles, int fistIndex);

    const std::vector<std::shared_ptr<uikit::ViewController>>& viewControllers() const {
        return viewControllers_;
    }
    const std::vector<std::string>& viewTitles() const { return viewTitles_; }
    const std::shared_ptr<uikit::SegmentedControl>& viewSelector() const { return viewSelector_; }
    // The child asked for last; the one shown once the running switch has ended.
    int activeIndex() const { return activeIndex_; }
    void setActiveIndex(int index);
    // The child whose view is shown.
    const std::shared_ptr<uikit::ViewController>& activeViewController() const {
        return activeViewController_;
    }
    bool isTransitioning() const { return transitioning_; }

    void viewSelectorIndexDidChange(uikit::SegmentedControl& sender);
    // The title in bold 14-point type above the segmented control, for callers that put the
    // control under a title in the navigation bar.
    std::shared_ptr<uikit::StackView> titleViewWithTitle(const std::string& title);

  protected:
    void viewDidLoad() override;

  private:
    bool isChild(int index) const {
        return index >= 0 && index < static_cast<int>(viewControllers_.size());
    }
    void showFirstChild();
    void switchToIndex(int index);
    void transitionDidEnd(const std::shared_ptr<uikit::ViewController>& from,
                          const std::shared_ptr<uikit::ViewController>& to);

    std::vector<std::shared_ptr<uikit::ViewController>> viewControllers_;
    std::vector<std::string> viewTitles_;
    int activeIndex_ = 0;
    std::shared_ptr<uikit::ViewController> activeViewController_;
    std::shared_ptr<uikit::SegmentedControl> viewSelector_;
    bool transitioning_ = false;
};

}  // namespace corvane
