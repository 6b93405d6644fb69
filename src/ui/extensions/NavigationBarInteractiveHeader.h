#pragma once

#include <memory>
#include <optional>

#include "foundation/ObservationToken.h"
#include "uikit/Color.h"
#include "uikit/NavigationBar.h"
#include "uikit/ScrollView.h"

namespace corvane {

// A navigation bar whose background fades in as the stretchy header of a scroll view scrolls
// away: see-through over the header, the scroll colour once it is gone. It lasts from
// setScrollView until resetAppearance, or until this object goes.
class NavigationBarInteractiveHeader {
  public:
    // The bar's alpha is this less the header's reveal progress.
    static constexpr double kAlphaOffset = 0.9;

    explicit NavigationBarInteractiveHeader(std::shared_ptr<uikit::NavigationBar> bar);
    NavigationBarInteractiveHeader(const NavigationBarInteractiveHeader&) = delete;
    NavigationBarInteractiveHeader& operator=(const NavigationBarInteractiveHeader&) = delete;

    // The bar's fill as it fades in; white when unset.
    const std::optional<uikit::Color>& scrollColor() const { return scrollColor_; }
    void setScrollColor(std::optional<uikit::Color> color) { scrollColor_ = color; }
    // The tint the bar's white tint blends towards; the tint stays white when unset.
    const std::optional<uikit::Color>& scrollTintColor() const { return scrollTintColor_; }
    void setScrollTintColor(std::optional<uikit::Color> color) { scrollTintColor_ = color; }

    std::shared_ptr<uikit::ScrollView> scrollView() const { return scrollView_.lock(); }
    // Makes the bar see-through with white items and follows the scroll view's offset;
    // following another scroll view drops the earlier one first.
    void setScrollView(const std::shared_ptr<uikit::ScrollView>& scrollView);
    // a <= 0: an empty background; 0 < a < 1: the scroll colour at alpha a; a >= 1: the bar's
    // own background.
    void updateAlpha(double alpha);
    // Stops following and gives the bar back its own look.
    void resetAppearance();

  private:
    void scrollViewDidScroll();

    std::weak_ptr<uikit::NavigationBar> bar_;
    std::optional<uikit::Color> scrollColor_;
    std::optional<uikit::Color> scrollTintColor_;
    std::weak_ptr<uikit::ScrollView> scrollView_;
    foundation::ObservationToken contentOffsetObservation_;
};

}  // namespace corvane
