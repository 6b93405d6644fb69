#include "uikit/ScrollView.h"

#include <algorithm>
#include <cmath>

#include "foundation/RunLoop.h"

namespace uikit {

namespace {

double finite(double value) {
    return std::isfinite(value) ? value : 0;
}

// Projects a fling to the page it lands on: at most one page on, in the direction of the fling.
double pageFor(double offset, double velocity, double page) {
    if (page <= 0)
        return offset;
    double index = offset / page;
    index = velocity > 0 ? std::ceil(index) : velocity < 0 ? std::floor(index) : std::round(index);
    return index * page;
}

}  // namespace

void ScrollView::setContentOffset(Point offset, bool animated) {
    Rect b = bounds();
    b.origin = {finite(offset.x), finite(offset.y)};
    setBounds(b);
    if (!animated)
        return;
    std::weak_ptr<View> weak = weak_from_this();
    foundation::RunLoop::main().schedule(kScrollAnimationDuration, [weak] {
        auto self = std::static_pointer_cast<ScrollView>(weak.lock());
        if (!self)
            return;
        if (auto delegate = self->delegate())
            delegate->scrollViewDidEndScrollingAnimation(*self);
    });
}

void ScrollView::boundsDidChange(const Rect& oldBounds) {
    View::boundsDidChange(oldBounds);
    if (oldBounds.origin == bounds().origin)
        return;
    auto keep = weak_from_this().lock();
    contentOffset_.set(bounds().origin);
    if (auto delegate = this->delegate())
        delegate->scrollViewDidScroll(*this);
    contentOffsetDidChange();
    setNeedsLayout();
}

void ScrollView::setContentSize(Size size) {
    contentSize_ = {finite(size.width), finite(size.height)};
}

void ScrollView::setContentInset(const EdgeInsets& inset) {
    contentInset_ = inset;
    setNeedsLayout();
}

EdgeInsets ScrollView::adjustedContentInset() const {
    if (insetAdjustment_ == ContentInsetAdjustment::never)
        return contentInset_;
    EdgeInsets safe = safeAreaInsets();
    EdgeInsets adjusted = contentInset_;
    adjusted.top += safe.top;
    adjusted.bottom += safe.bottom;
    if (insetAdjustment_ == ContentInsetAdjustment::always) {
        adjusted.left += safe.left;
        adjusted.right += safe.right;
    }
    return adjusted;
}

void ScrollView::safeAreaInsetsDidChange() {
    View::safeAreaInsetsDidChange();
    const double adjustment = adjustedContentInset().top - contentInset_.top;
    const double wasAtTop = -(contentInset_.top + safeTopAdjustment_);
    safeTopAdjustment_ = adjustment;
    if (dragging_ || decelerating_ || contentOffset().y != wasAtTop)
        return;
    setContentOffset({contentOffset().x, -(contentInset_.top + adjustment)});
}

Point ScrollView::minimumContentOffset() const {
    EdgeInsets inset = adjustedContentInset();
    return {-inset.left, -inset.top};
}

Point ScrollView::maximumContentOffset() const {
    EdgeInsets inset = adjustedContentInset();
    Point least = minimumContentOffset();
    return {std::max(least.x, contentSize_.width - bounds().width() + inset.right),
            std::max(least.y, contentSize_.height - bounds().height() + inset.bottom)};
}

Point ScrollView::clampedOffset(Point offset) const {
    Point least = minimumContentOffset();
    Point most = maximumContentOffset();
    return {std::clamp(offset.x, least.x, most.x), std::clamp(offset.y, least.y, most.y)};
}

void ScrollView::scrollRectToVisible(const Rect& rect, bool animated) {
    Point offset = contentOffset();
    Rect visible = bounds();
    if (rect.minX() < visible.minX())
        offset.x = rect.minX();
    else if (rect.maxX() > visible.maxX())
        offset.x = std::min(rect.minX(), rect.maxX() - visible.width());
    if (rect.minY() < visible.minY())
        offset.y = rect.minY();
    else if (rect.maxY() > visible.maxY())
        offset.y = std::min(rect.minY(), rect.maxY() - visible.height());
    setContentOffset(clampedOffset(offset), animated);
}

Point ScrollView::projectedRestingOffset(Point velocity) const {
    // Velocity in points per millisecond decays by the rate every millisecond.
    double reach = decelerationRate_ / (1 - decelerationRate_);
    Point offset = contentOffset();
    Point target{offset.x + velocity.x * reach, offset.y + velocity.y * reach};
    if (pagingEnabled_)
        target = {pageFor(offset.x, velocity.x, bounds().width()),
                  pageFor(offset.y, velocity.y, bounds().height())};
    return clampedOffset(target);
}

void ScrollView::beginDragging() {
    if (dragging_)
        return;
    if (decelerating_) {
        decelerating_ = false;
        ++decelerationGeneration_;
    }
    dragging_ = true;
    if (keyboardDismissMode_ != KeyboardDismissMode::none)
        endEditing();
    if (auto delegate = this->delegate())
        delegate->scrollViewWillBeginDragging(*this);
}

void ScrollView::dragTo(Point offset) {
    if (!dragging_)
        beginDragging();
    setContentOffset(offset);
}

void ScrollView::endDragging(Point velocity) {
    if (!dragging_)
        return;
    auto keep = weak_from_this().lock();
    Point target = projectedRestingOffset(velocity);
    if (auto delegate = this->delegate())
        delegate->scrollViewWillEndDragging(*this, velocity, target);
    dragging_ = false;
    bool decelerate = velocity != Point{} || target != contentOffset();
    if (auto delegate = this->delegate())
        delegate->scrollViewDidEndDragging(*this, decelerate);
    if (!decelerate)
        return;
    decelerating_ = true;
    std::uint64_t generation = ++decelerationGeneration_;
    if (auto delegate = this->delegate())
        delegate->scrollViewWillBeginDecelerating(*this);
    setContentOffset(target);
    std::weak_ptr<View> weak = weak_from_this();
    foundation::RunLoop::main().schedule(kScrollAnimationDuration, [weak, generation] {
        auto self = std::static_pointer_cast<ScrollView>(weak.lock());
        if (self && self->decelerationGeneration_ == generation)
            self->finishDecelerating();
    });
}

void ScrollView::finishDecelerating() {
    if (!decelerating_)
        return;
    decelerating_ = false;
    if (auto delegate = this->delegate())
        delegate->scrollViewDidEndDecelerating(*this);
}

}  // namespace uikit
