#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/Animation.h"
#include "uikit/Geometry.h"
#include "uikit/NavigationItem.h"
#include "uikit/PopoverPresentationController.h"
#include "uikit/PresentationStack.h"
#include "uikit/TabBarItem.h"
#include "uikit/TraitCollection.h"
#include "uikit/View.h"

namespace uikit {

class NavigationController;
class TabBarController;
class Window;

// Raw values as the system numbers them.
enum class ModalPresentationStyle {
    fullScreen = 0,
    formSheet = 2,
    overFullScreen = 5,
    popover = 7
};
enum class StatusBarStyle { defaultStyle = 0, lightContent = 1, darkContent = 3 };

using RectEdges = std::uint32_t;
struct RectEdge {
    static constexpr RectEdges none = 0;
    static constexpr RectEdges top = 1u << 0;
    static constexpr RectEdges left = 1u << 1;
    static constexpr RectEdges bottom = 1u << 2;
    static constexpr RectEdges right = 1u << 3;
    static constexpr RectEdges all = top | left | bottom | right;
};

// A screen: it owns a view tree, built on first use, and hears through its hooks when that view
// comes and goes. Containers (navigation, tabs, presentation, the window) drive the appearance
// hooks; a controller never calls its own. Held by std::shared_ptr (std::make_shared).
//
// Presentation follows the system's rules: a controller inside a container presents through
// the outermost container; presenting while something is already presented is refused and
// logged (the completion never runs); completions run after the transition, which ends on the
// main run loop after ViewControllerTransition::kDuration when animated, else on the next turn;
// a dismissal's completion runs once presentedViewController() is cleared.
class ViewController : public std::enable_shared_from_this<ViewController> {
  public:
    using Completion = std::function<void()>;
    enum class Appearance { disappeared, appearing, appeared, disappearing };

    // With a nib name, loadView builds the view with the nib's builder from the NibRegistry.
    explicit ViewController(std::string nibName = {});
    virtual ~ViewController();
    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

    // The view, loaded on first use: loadView, then viewDidLoad once.
    std::shared_ptr<View> view();
    const std::shared_ptr<View>& viewIfLoaded() const { return view_; }
    bool isViewLoaded() const { return view_ != nullptr; }
    void loadViewIfNeeded();
    void setView(std::shared_ptr<View> view);
    const std::string& nibName() const { return nibName_; }

    // Setting the title names the navigation item and the tab bar item too.
    const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title);
    const std::shared_ptr<NavigationItem>& navigationItem();
    const std::shared_ptr<TabBarItem>& tabBarItem();
    void setTabBarItem(std::shared_ptr<TabBarItem> item) { tabBarItem_ = std::move(item); }

    // Containment. addChild calls the child's willMove(this); removeFromParent calls didMove(null).
    std::shared_ptr<ViewController> parent() const { return parent_.lock(); }
    const std::vector<std::shared_ptr<ViewController>>& children() const { return children_; }
    void addChild(const std::shared_ptr<ViewController>& child);
    void removeFromParent();
    void willMove(const std::shared_ptr<ViewController>& parent);
    void didMove(const std::shared_ptr<ViewController>& parent);
    // Swaps two children: to's view takes from's place (the animations may place views too),
    // from's view leaves at the end; their appearance hooks run when this controller is shown.
    void transition(const std::shared_ptr<ViewController>& from,
                    const std::shared_ptr<ViewController>& to, double duration,
                    AnimationOptions options, Animation::Block animations,
                    Animation::Completion completion);
    std::shared_ptr<NavigationController> navigationController() const;
    std::shared_ptr<TabBarController> tabBarController() const;
    // True while it is being added to (removed from) a parent, through its appearance hooks.
    bool isMovingToParentViewController() const { return movingToParent_; }
    bool isMovingFromParentViewController() const { return movingFromParent_; }

    // Presentation.
    void present(const std::shared_ptr<ViewController>& controller, bool animated,
                 Completion completion = {});
    // Ends what this controller (or its outermost container) presents, or, when it presents
    // nothing, its own presentation. With nothing to dismiss the completion still runs, on the
    // next turn; a second dismissal while one is running is refused (logged).
    void dismiss(bool animated, Completion completion = {});
    std::shared_ptr<ViewController> presentedViewController() const;
    std::shared_ptr<ViewController> presentingViewController() const;
    bool isBeingPresented() const { return presentations_.isBeingPresented(); }
    bool isBeingDismissed() const { return presentations_.isBeingDismissed(); }
    ModalPresentationStyle modalPresentationStyle() const { return modalPresentationStyle_; }
    void setModalPresentationStyle(ModalPresentationStyle style) {
        modalPresentationStyle_ = style;
    }
    // Only for the popover style, as the system gives it; null otherwise.
    std::shared_ptr<PopoverPresentationController> popoverPresentationController();

    // Appearing or appeared, as the containers moved it.
    bool isVisible() const;
    void beginAppearanceTransition(bool appearing, bool animated);
    void endAppearanceTransition();

    // Traits: this controller's override, else its parent's, presenter's or window's traits.
    TraitCollection traitCollection() const;
    UserInterfaceStyle overrideUserInterfaceStyle() const { return overrideStyle_; }
    void setOverrideUserInterfaceStyle(UserInterfaceStyle style);
    // Compares the traits of this controller, its children and what it presents with those each
    // was last told of, and tells the ones that changed.
    void updateTraits();

    virtual StatusBarStyle preferredStatusBarStyle() const { return StatusBarStyle::defaultStyle; }
    // The child whose preference the status bar follows instead of this one's.
    virtual std::shared_ptr<ViewController> childViewControllerForStatusBarStyle() const {
        return nullptr;
    }
    void setNeedsStatusBarAppearanceUpdate();
    RectEdges edgesForExtendedLayout() const { return edgesForExtendedLayout_; }
    void setEdgesForExtendedLayout(RectEdges edges) { edgesForExtendedLayout_ = edges; }
    bool extendedLayoutIncludesOpaqueBars() const { return extendedLayoutIncludesOpaqueBars_; }
    void setExtendedLayoutIncludesOpaqueBars(bool on) { extendedLayoutIncludesOpaqueBars_ = on; }

    // The screen is about to change size; the base passes it on to children and to what it
    // presents, so overrides call it.
    virtual void viewWillTransitionToSize(Size size);

    // The window showing this controller's tree (through its container or presenter), if any.
    std::shared_ptr<Window> containingWindow() const;

  protected:
    // Builds the view: the nib's when there is a nib name, else a plain view of the screen's size.
    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool animated) {}
    virtual void viewDidAppear(bool animated) {}
    virtual void viewWillDisappear(bool animated) {}
    virtual void viewDidDisappear(bool animated) {}
    virtual void traitCollectionDidChange(const TraitCollection& previous) {}
    virtual void willMoveToParentViewController(const std::shared_ptr<ViewController>& parent) {}
    virtual void didMoveToParentViewController(const std::shared_ptr<ViewController>& parent) {}
    // The children whose appearance follows this controller's: those whose views are inside
    // its view. Containers name the one child they show.
    virtual std::vector<std::shared_ptr<ViewController>> childrenForAppearance() const;

  private:
    friend class Window;

    std::shared_ptr<ViewController> rootAncestor();
    std::shared_ptr<const ViewController> rootAncestor() const;
    // Presented, a child or a window's root.
    bool isShownElsewhere() const;
    void forwardAppearance(const std::vector<std::shared_ptr<ViewController>>& children, bool begin,
                           bool appearing, bool animated);

    std::string nibName_;
    std::shared_ptr<View> view_;
    bool loadingView_ = false;
    std::optional<std::string> title_;
    std::shared_ptr<NavigationItem> navigationItem_;
    std::shared_ptr<TabBarItem> tabBarItem_;

    std::weak_ptr<ViewController> parent_;
    std::vector<std::shared_ptr<ViewController>> children_;
    bool movingToParent_ = false;
    bool movingFromParent_ = false;

    PresentationStack presentations_{*this};
    ModalPresentationStyle modalPresentationStyle_ = ModalPresentationStyle::fullScreen;
    std::shared_ptr<PopoverPresentationController> popover_;

    std::weak_ptr<Window> window_;  // set while this is a window's root
    Appearance appearance_ = Appearance::disappeared;
    bool appearanceAnimated_ = false;
    std::vector<std::weak_ptr<ViewController>> appearanceChildren_;

    UserInterfaceStyle overrideStyle_ = UserInterfaceStyle::unspecified;
    std::optional<TraitCollection> reportedTraits_;
    RectEdges edgesForExtendedLayout_ = RectEdge::all;
    bool extendedLayoutIncludesOpaqueBars_ = false;
};

}  // namespace uikit
