#pragma once

#include "uikit/Geometry.h"

namespace uikit {

class ScrollView;

// Told of scrolling; every method is optional. Velocities are in points per millisecond.
class ScrollViewDelegate {
  public:
    virtual ~ScrollViewDelegate() = default;
    virtual void scrollViewDidScroll(ScrollView& scrollView) {}
    virtual void scrollViewWillBeginDragging(ScrollView& scrollView) {}
    // The delegate may move the resting offset.
    virtual void scrollViewWillEndDragging(ScrollView& scrollView, Point velocity,
                                           Point& targetContentOffset) {}
    virtual void scrollViewDidEndDragging(ScrollView& scrollView, bool willDecelerate) {}
    virtual void scrollViewWillBeginDecelerating(ScrollView& scrollView) {}
    virtual void scrollViewDidEndDecelerating(ScrollView& scrollView) {}
    virtual void scrollViewDidEndScrollingAnimation(ScrollView& scrollView) {}
    virtual bool scrollViewShouldScrollToTop(ScrollView& scrollView) { return true; }
    virtual void scrollViewDidScrollToTop(ScrollView& scrollView) {}
};

}  // namespace uikit
