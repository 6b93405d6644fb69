#pragma once

#include "uikit/LayoutAnchor.h"
#include "uikit/LayoutItem.h"

namespace uikit {

// A rectangle of a view that constraints can name: its safe area or its layout margins.
// The view owns its guides.
class LayoutGuide : public LayoutItem {
  public:
    enum class Kind { safeArea, layoutMargins };

    LayoutGuide(View* owner, Kind kind) : owner_(owner), kind_(kind) {}

    Kind kind() const { return kind_; }
    View* owningView() const override { return owner_; }
    // In the owning view's coordinates: its bounds less the safe-area insets or margins.
    Rect layoutFrame() const override;

    LayoutAnchor topAnchor() const { return {this, LayoutAttribute::top}; }
    LayoutAnchor bottomAnchor() const { return {this, LayoutAttribute::bottom}; }
    LayoutAnchor leadingAnchor() const { return {this, LayoutAttribute::leading}; }
    LayoutAnchor trailingAnchor() const { return {this, LayoutAttribute::trailing}; }
    LayoutAnchor leftAnchor() const { return {this, LayoutAttribute::left}; }
    LayoutAnchor rightAnchor() const { return {this, LayoutAttribute::right}; }
    LayoutAnchor centerXAnchor() const { return {this, LayoutAttribute::centerX}; }
    LayoutAnchor centerYAnchor() const { return {this, LayoutAttribute::centerY}; }
    LayoutAnchor widthAnchor() const { return {this, LayoutAttribute::width}; }
    LayoutAnchor heightAnchor() const { return {this, LayoutAttribute::height}; }

  private:
    View* owner_;
    Kind kind_;
};

}  // namespace uikit
