#include "screens/packages/PackageDetailsContentView.h"

#include "uikit/ConstraintPlacement.h"
#include "uikit/ScrollView.h"

namespace corvane {

void PackageDetailsContentView::placeSections() {
    setNeedsLayout();
    layoutIfNeeded();
}

void PackageDetailsContentView::layoutSubviews() {
    auto height = uikit::ConstraintPlacement::placeSubviews(*this);
    if (!height)
        return;
    uikit::Rect frame = this->frame();
    frame.size.height = *height;
    setFrame(frame);
    if (auto scrollView = std::dynamic_pointer_cast<uikit::ScrollView>(superview()))
        scrollView->setContentSize({frame.width(), *height});
}

}  // namespace corvane
