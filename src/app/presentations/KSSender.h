#pragma once

#include <memory>
#include <variant>

#include "uikit/BarButtonItem.h"
#include "uikit/GestureRecognizer.h"
#include "uikit/View.h"
#include "uikit/ViewController.h"

namespace corvane {

// The control that asked for a presentation. On a pad a sheet is a popover that points at it:
// a recogniser's view, a bar button item, or the view itself. Held weakly: a sender that went
// away (a reused cell) simply gives no anchor.
class KSSender {
  public:
    KSSender() = default;
    KSSender(std::nullptr_t) {}
    KSSender(const std::shared_ptr<uikit::View>& view);
    KSSender(const std::shared_ptr<uikit::GestureRecognizer>& recognizer);
    KSSender(const std::shared_ptr<uikit::BarButtonItem>& item);

    // Points the controller's popover at the sender; nothing when the controller does not
    // present as a popover or the sender gives no anchor.
    void anchor(uikit::ViewController& controller) const;

  private:
    std::shared_ptr<uikit::View> anchorView() const;

    std::variant<std::monostate, std::weak_ptr<uikit::View>,
                 std::weak_ptr<uikit::GestureRecognizer>, std::weak_ptr<uikit::BarButtonItem>>
        sender_;
};

}  // namespace corvane
