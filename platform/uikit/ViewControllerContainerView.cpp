#include "uikit/ViewControllerContainerView.h"

#include <algorithm>

namespace uikit {

void ViewControllerContainerView::setBarInsets(const EdgeInsets& insets) {
    if (insets == barInsets_)
        return;
    barInsets_ = insets;
    // The child's safe area changed with them: the pass tells its views.
    setNeedsLayout();
}

EdgeInsets ViewControllerContainerView::safeAreaInsetsForSubview(const View& subview) const {
    const EdgeInsets own = safeAreaInsets();
    if (!subview.owningViewController())
        return own;
    return {std::max(own.top, barInsets_.top), std::max(own.left, barInsets_.left),
            std::max(own.bottom, barInsets_.bottom), std::max(own.right, barInsets_.right)};
}

}  // namespace uikit
