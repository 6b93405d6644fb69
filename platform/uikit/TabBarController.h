#pragma once

#include <memory>
#include <vector>

#include "uikit/TabBar.h"
#include "uikit/ViewController.h"

namespace uikit {

// Shows one of its controllers at a time above a tab bar. Switching tabs moves the appearance
// hooks in the system's order: the old tab's viewWillDisappear, the new tab's viewWillAppear,
// then viewDidDisappear and viewDidAppear.
class TabBarController : public ViewController {
  public:
    TabBarController() = default;

    const std::vector<std::shared_ptr<ViewController>>& viewControllers() const { return tabs_; }
    // The first tab is selected unless the selected index is still valid.
    void setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers);
    std::size_t selectedIndex() const { return selectedIndex_; }
    // An index out of range is ignored.
    void setSelectedIndex(std::size_t index);
    std::shared_ptr<ViewController> selectedViewController() const;
    const std::shared_ptr<TabBar>& tabBar();

    std::shared_ptr<ViewController> childViewControllerForStatusBarStyle() const override {
        return selectedViewController();
    }

  protected:
    void loadView() override;
    std::vector<std::shared_ptr<ViewController>> childrenForAppearance() const override;

  private:
    void showSelected();
    void layoutContent();
    Rect frameForChild(const ViewController& child, double barHeight) const;

    std::vector<std::shared_ptr<ViewController>> tabs_;
    std::size_t selectedIndex_ = 0;
    std::shared_ptr<TabBar> tabBar_;
};

}  // namespace uikit
