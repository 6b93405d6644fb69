#pragma once

#include <functional>

#include "uikit/ConstraintPlacement.h"
#include "uikit/View.h"

namespace uikit {

// The root view of a container controller: it hands each layout pass to the controller, which
// places the bars and the shown child's view; a view the controller adds with constraints (a
// panel over its bars) is placed after them. The edges its bars cover are unsafe for the child's
// view, as the status bar is, so that content under a bar starts below it; the bars themselves
// are not inset by each other.
class ViewControllerContainerView : public View {
  public:
    using LayoutHandler = std::function<void()>;

    explicit ViewControllerContainerView(const Rect& frame) : View(frame) {}

    void setLayoutHandler(LayoutHandler handler) { layoutHandler_ = std::move(handler); }
    void layoutSubviews() override {
        if (layoutHandler_)
            layoutHandler_();
        ConstraintPlacement::placeSubviews(*this);
    }

    // How far the bars reach in from each edge of the bounds.
    const EdgeInsets& barInsets() const { return barInsets_; }
    void setBarInsets(const EdgeInsets& insets);

  protected:
    EdgeInsets safeAreaInsetsForSubview(const View& subview) const override;

  private:
    LayoutHandler layoutHandler_;
    EdgeInsets barInsets_;
};

}  // namespace uikit
