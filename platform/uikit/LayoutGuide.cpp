#include "uikit/LayoutGuide.h"

#include "uikit/View.h"

namespace uikit {

Rect LayoutGuide::layoutFrame() const {
    const Rect& bounds = owner_->bounds();
    return bounds.inset(kind_ == Kind::safeArea ? owner_->safeAreaInsets()
                                                : owner_->layoutMargins());
}

}  // namespace uikit
