#pragma once

#include <functional>

#include "uikit/ConstraintPlacement.h"
#include "uikit/View.h"

namespace uikit {

// The root view of a container controller: it hands each layout pass to the controller, which
// places the bars and the shown child's view; a view the controller adds with constraints (a
// panel over its bars) is placed after them.
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

  private:
    LayoutHandler layoutHandler_;
};

}  // namespace uikit
