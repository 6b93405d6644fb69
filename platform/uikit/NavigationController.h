#pragma once

#include <memory>
#include <vector>

#include "uikit/NavigationBar.h"
#include "uikit/ViewController.h"
#include "uikit/ViewControllerTransition.h"

namespace uikit {

// A stack of controllers with a bar above the top one. The stack changes at once; on screen the
// views and the appearance hooks follow at the end of the transition (ViewControllerTransition),
// off screen everything is complete at once.
// Only the top controller is shown, so only it hears of the container's appearance.
class NavigationController : public ViewController {
  public:
    static std::shared_ptr<NavigationController> create(std::shared_ptr<ViewController> root);
    NavigationController() = default;

    const std::vector<std::shared_ptr<ViewController>>& viewControllers() const { return stack_; }
    void setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers,
                            bool animated = false);
    std::shared_ptr<ViewController> topViewController() const;
    // What the person sees: what the navigation controller presents, else the top controller.
    std::shared_ptr<ViewController> visibleViewController() const;

    // A controller already in a stack is refused (logged).
    void push(const std::shared_ptr<ViewController>& controller, bool animated);
    // The root stays: popping it gives null.
    std::shared_ptr<ViewController> pop(bool animated);
    // The controllers taken off, bottom first.
    std::vector<std::shared_ptr<ViewController>> popToRoot(bool animated);

    const std::shared_ptr<NavigationBar>& navigationBar();
    bool isNavigationBarHidden() const { return barHidden_; }
    void setNavigationBarHidden(bool hidden, bool animated = false);

    // The bar's style decides: light content over a black bar.
    StatusBarStyle preferredStatusBarStyle() const override;

  protected:
    void loadView() override;
    std::vector<std::shared_ptr<ViewController>> childrenForAppearance() const override;

  private:
    void replaceTop(const std::shared_ptr<ViewController>& from,
                    const std::shared_ptr<ViewController>& to,
                    std::vector<std::shared_ptr<ViewController>> leaving,
                    std::vector<std::shared_ptr<ViewController>> entering, bool animated);
    void installView(const std::shared_ptr<ViewController>& controller);
    void updateBarItems();
    void layoutContent();
    Rect frameForChild(const ViewController& child) const;

    std::vector<std::shared_ptr<ViewController>> stack_;
    std::shared_ptr<NavigationBar> navigationBar_;
    bool barHidden_ = false;
    ViewControllerTransition transition_;
};

}  // namespace uikit
