#pragma once

#include <memory>

#include "uikit/BarButtonItem.h"
#include "uikit/Geometry.h"
#include "uikit/View.h"

namespace uikit {

// Where a popover points: a rectangle of a view, or a bar button item. Only devices that show
// popovers (pads) use it; elsewhere the controller covers the screen.
class PopoverPresentationController {
  public:
    std::shared_ptr<View> sourceView() const { return sourceView_.lock(); }
    void setSourceView(const std::shared_ptr<View>& view) { sourceView_ = view; }
    const Rect& sourceRect() const { return sourceRect_; }
    void setSourceRect(const Rect& rect) { sourceRect_ = rect; }
    std::shared_ptr<BarButtonItem> barButtonItem() const { return barButtonItem_.lock(); }
    void setBarButtonItem(const std::shared_ptr<BarButtonItem>& item) { barButtonItem_ = item; }

    bool hasAnchor() const { return sourceView() || barButtonItem(); }

  private:
    std::weak_ptr<View> sourceView_;
    Rect sourceRect_;
    std::weak_ptr<BarButtonItem> barButtonItem_;
};

}  // namespace uikit
