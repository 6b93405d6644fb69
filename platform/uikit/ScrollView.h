#pragma once

#include <memory>

#include "foundation/Observable.h"
#include "uikit/ScrollViewDelegate.h"
#include "uikit/View.h"

namespace uikit {

enum class ContentInsetAdjustment { automatic, scrollableAxes, never, always };
enum class KeyboardDismissMode { none, onDrag, interactive };

// A view whose bounds origin is the content offset. Offsets outside the content (negative ones
// included) are allowed, as while a person pulls past the edge.
//
// Unless its adjustment behaviour is never, the safe area insets the content further
// (adjustedContentInset): a scroll view under a navigation bar scrolls its content out from
// below the bar. When the safe area changes while the content rests at its top, the offset
// follows, so a screen starts with its content below its bars (at offset -top inset).
class ScrollView : public View {
  public:
    // How long deceleration and animated scrolling last on the run loop's clock.
    static constexpr double kScrollAnimationDuration = 0.3;

    // As on the system, a scroll view clips what it scrolls to its bounds.
    ScrollView() { setClipsToBounds(true); }
    explicit ScrollView(const Rect& frame) : View(frame) { setClipsToBounds(true); }

    Point contentOffset() const { return bounds().origin; }
    // Observers run after the offset is stored, before the delegate hears of it.
    void setContentOffset(Point offset, bool animated = false);
    [[nodiscard]] foundation::ObservationToken observeContentOffset(
        std::function<void(const Point&)> observer) {
        return contentOffset_.observe(std::move(observer));
    }
    Size contentSize() const { return contentSize_; }
    void setContentSize(Size size);
    const EdgeInsets& contentInset() const { return contentInset_; }
    void setContentInset(const EdgeInsets& inset);
    // The content inset plus the safe area, as the adjustment behaviour asks.
    EdgeInsets adjustedContentInset() const;
    ContentInsetAdjustment contentInsetAdjustmentBehavior() const { return insetAdjustment_; }
    void setContentInsetAdjustmentBehavior(ContentInsetAdjustment b) { insetAdjustment_ = b; }
    const EdgeInsets& scrollIndicatorInsets() const { return scrollIndicatorInsets_; }
    void setScrollIndicatorInsets(const EdgeInsets& insets) { scrollIndicatorInsets_ = insets; }
    const EdgeInsets& verticalScrollIndicatorInsets() const { return scrollIndicatorInsets_; }
    void setVerticalScrollIndicatorInsets(const EdgeInsets& i) { scrollIndicatorInsets_ = i; }

    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled) { scrollEnabled_ = enabled; }
    bool isPagingEnabled() const { return pagingEnabled_; }
    void setPagingEnabled(bool enabled) { pagingEnabled_ = enabled; }
    bool bounces() const { return bounces_; }
    void setBounces(bool bounces) { bounces_ = bounces; }
    bool alwaysBounceVertical() const { return alwaysBounceVertical_; }
    void setAlwaysBounceVertical(bool on) { alwaysBounceVertical_ = on; }
    bool alwaysBounceHorizontal() const { return alwaysBounceHorizontal_; }
    void setAlwaysBounceHorizontal(bool on) { alwaysBounceHorizontal_ = on; }
    bool showsVerticalScrollIndicator() const { return showsVertical_; }
    void setShowsVerticalScrollIndicator(bool on) { showsVertical_ = on; }
    bool showsHorizontalScrollIndicator() const { return showsHorizontal_; }
    void setShowsHorizontalScrollIndicator(bool on) { showsHorizontal_ = on; }
    bool scrollsToTop() const { return scrollsToTop_; }
    void setScrollsToTop(bool on) { scrollsToTop_ = on; }
    KeyboardDismissMode keyboardDismissMode() const { return keyboardDismissMode_; }
    void setKeyboardDismissMode(KeyboardDismissMode mode) { keyboardDismissMode_ = mode; }
    double decelerationRate() const { return decelerationRate_; }
    void setDecelerationRate(double rate) { decelerationRate_ = rate; }

    std::shared_ptr<ScrollViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<ScrollViewDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    bool isTracking() const { return dragging_; }
    bool isDragging() const { return dragging_; }
    bool isDecelerating() const { return decelerating_; }

    // The least and greatest offsets at rest.
    Point minimumContentOffset() const;
    Point maximumContentOffset() const;
    // Scrolls the least distance that shows the rectangle (content coordinates).
    void scrollRectToVisible(const Rect& rect, bool animated);
    // A person's finger: begin dragging, move the content to offsets, and release with a
    // velocity (points per millisecond). A release with velocity decelerates to the projected
    // resting offset (within the content; on a page boundary when paging), which the delegate
    // may move; the offset is taken at once and the deceleration ends after
    // kScrollAnimationDuration on the run loop's clock.
    void beginDragging();
    void dragTo(Point offset);
    void endDragging(Point velocity = {});

    void safeAreaInsetsDidChange() override;

  protected:
    void boundsDidChange(const Rect& oldBounds) override;
    std::string describeSelf() const override { return "ScrollView"; }
    // The content offset changed (after observers and delegate were told).
    virtual void contentOffsetDidChange() {}

  private:
    Point projectedRestingOffset(Point velocity) const;
    Point clampedOffset(Point offset) const;
    void finishDecelerating();

    foundation::Observable<Point> contentOffset_;
    Size contentSize_;
    EdgeInsets contentInset_;
    EdgeInsets scrollIndicatorInsets_;
    // What the safe area added to the top inset when the offset last followed it.
    double safeTopAdjustment_ = 0;
    ContentInsetAdjustment insetAdjustment_ = ContentInsetAdjustment::automatic;
    bool scrollEnabled_ = true;
    bool pagingEnabled_ = false;
    bool bounces_ = true;
    bool alwaysBounceVertical_ = false;
    bool alwaysBounceHorizontal_ = false;
    bool showsVertical_ = true;
    bool showsHorizontal_ = true;
    bool scrollsToTop_ = true;
    KeyboardDismissMode keyboardDismissMode_ = KeyboardDismissMode::none;
    double decelerationRate_ = 0.998;
    std::weak_ptr<ScrollViewDelegate> delegate_;
    bool dragging_ = false;
    bool decelerating_ = false;
    std::uint64_t decelerationGeneration_ = 0;
};

}  // namespace uikit
