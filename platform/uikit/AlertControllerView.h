#pragma once

#include <string>

#include "uikit/View.h"

namespace uikit {

// The card of an alert or action sheet: its title and message labels above one button per
// action, centred in the view.
class AlertControllerView : public View {
  public:
    static constexpr double kCardWidth = 270;

    AlertControllerView(const Rect& frame, bool actionSheet)
        : View(frame), actionSheet_(actionSheet) {}

    void layoutSubviews() override;
    void draw(Canvas& canvas) override;

  protected:
    std::string describeSelf() const override { return actionSheet_ ? "ActionSheet" : "Alert"; }

  private:
    bool actionSheet_;
};

}  // namespace uikit
