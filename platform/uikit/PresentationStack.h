#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "uikit/Geometry.h"
#include "uikit/ViewControllerTransition.h"

namespace uikit {

class View;
class ViewController;

// A controller's place among presented screens: below it the controller presenting it, above
// it the one it presents, then what that one presents, and so on. Each controller owns its
// place; presenting joins the presented controller's place to the presenter's.
//
// Presenting and dismissing drive the appearance of the controllers involved; their
// completions run when the transition ends. A full-screen presentation covers the presenter:
// once it has appeared, the presenter's view leaves its superview, and it comes back where it
// was when the dismissal begins.
class PresentationStack {
  public:
    using Completion = std::function<void()>;

    explicit PresentationStack(ViewController& owner) : owner_(owner) {}
    PresentationStack(const PresentationStack&) = delete;
    PresentationStack& operator=(const PresentationStack&) = delete;

    // Where a presented controller's view goes in a window of the bounds: the whole window,
    // except for sheets and popovers on a pad.
    static Rect frameForPresented(ViewController& controller, const Rect& windowBounds);

    std::shared_ptr<ViewController> presented() const;
    std::shared_ptr<ViewController> presenter() const;
    bool isBeingPresented() const { return beingPresented_; }
    bool isBeingDismissed() const { return beingDismissed_; }

    // The owner presents the controller whose place `above` is. Refused (and logged) while the
    // owner is being dismissed or presents another controller that is not being dismissed.
    void present(PresentationStack& above, bool animated, Completion completion);
    // Ends what the owner presents, or, when it presents nothing, its own presentation. With
    // nothing to dismiss the completion still runs, on the next turn.
    void dismiss(bool animated, Completion completion);
    // Ends every presentation above the owner at once, without a transition.
    void tearDown();

  private:
    struct Presented {
        std::shared_ptr<PresentationStack> place;  // holds the presented controller
        bool coversPresenter = false;
        bool presenterWasVisible = false;
        // Where the owner's view was before it was covered.
        std::weak_ptr<View> coveredSuperview;
        std::size_t coveredIndex = 0;
    };

    // This place, keeping its owner alive.
    std::shared_ptr<PresentationStack> handle();
    bool refuses(const ViewController& controller) const;
    void showPresentedView(ViewController& controller) const;
    void finishPresenting(const std::shared_ptr<PresentationStack>& above, bool hidesPresenter);
    void end(bool animated, Completion completion);
    void finishDismissing(const std::vector<std::shared_ptr<PresentationStack>>& chain,
                          bool showsPresenter);
    // The places above this one, nearest first.
    std::vector<std::shared_ptr<PresentationStack>> chain() const;
    void cover();
    void restoreCoveredView();

    ViewController& owner_;
    std::optional<Presented> presented_;
    std::weak_ptr<PresentationStack> presenter_;
    ViewControllerTransition transition_;
    bool beingPresented_ = false;
    bool beingDismissed_ = false;
};

}  // namespace uikit
