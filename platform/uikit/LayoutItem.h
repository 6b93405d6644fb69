#pragma once

#include <memory>

#include "uikit/Geometry.h"

namespace uikit {

class View;
class LayoutItem;

enum class LayoutAttribute {
    notAnAttribute,
    left,
    right,
    top,
    bottom,
    leading,
    trailing,
    width,
    height,
    centerX,
    centerY,
    firstBaseline,
    lastBaseline
};

// A reference to a layout item that reads null once the item is gone. Items are named by plain
// pointer so that a view can make constraints in its own constructor.
class LayoutItemReference {
  public:
    LayoutItemReference() = default;
    explicit LayoutItemReference(const LayoutItem* item);
    LayoutItem* get() const { return life_.expired() ? nullptr : item_; }

  private:
    LayoutItem* item_ = nullptr;
    std::weak_ptr<void> life_;
};

// Something a layout constraint can name: a view or a layout guide of a view.
class LayoutItem {
  public:
    LayoutItem() = default;
    LayoutItem(const LayoutItem&) = delete;
    LayoutItem& operator=(const LayoutItem&) = delete;
    virtual ~LayoutItem() = default;

    // The view the item belongs to (the view itself for a view).
    virtual View* owningView() const = 0;
    // A view's frame (superview coordinates) or a guide's rectangle (its view's coordinates).
    virtual Rect layoutFrame() const = 0;

  private:
    friend class LayoutItemReference;
    std::shared_ptr<void> life_ = std::make_shared<char>();
};

inline LayoutItemReference::LayoutItemReference(const LayoutItem* item)
    : item_(const_cast<LayoutItem*>(item)), life_(item ? item->life_ : nullptr) {}

}  // namespace uikit
