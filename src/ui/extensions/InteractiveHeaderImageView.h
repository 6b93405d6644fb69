#pragma once

#include <memory>

#include "foundation/ObservationToken.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/LayoutConstraint.h"
#include "uikit/ScrollView.h"
#include "uikit/StackView.h"

namespace corvane {

// The stretchy image at the top of a scroll view (the package page's banner): it rests at its
// default height above the content, stretches to fill the area a person pulls down, and
// reports how much of it is still visible so that the navigation bar can fade in as it goes.
// It follows the scroll view's content offset from setScrollView until it leaves the view tree.
class InteractiveHeaderImageView : public uikit::ImageView {
  public:
    static constexpr double kTitleFontSize = 28;
    static constexpr double kSubtitleFontSize = 17;
    static constexpr double kLabelInset = 16;

    explicit InteractiveHeaderImageView(const uikit::Rect& frame);

    const std::shared_ptr<uikit::StackView>& labelStack() const { return labelStack_; }
    // Stack centre Y = view centre Y + labelOffset.
    const std::shared_ptr<uikit::LayoutConstraint>& labelCenter() const { return labelCenter_; }
    const std::shared_ptr<uikit::Label>& titleLabel() const { return titleLabel_; }
    const std::shared_ptr<uikit::Label>& subtitleLabel() const { return subtitleLabel_; }

    // Fade every subview with revealProgress.
    bool useAlphaFade() const { return useAlphaFade_; }
    void setUseAlphaFade(bool on) { useAlphaFade_ = on; }
    // Grow the label fonts while the header is pulled down.
    bool useFontScaling() const { return useFontScaling_; }
    void setUseFontScaling(bool on) { useFontScaling_ = on; }
    double defaultHeight() const { return defaultHeight_; }
    void setDefaultHeight(double height) { defaultHeight_ = height; }
    double labelOffset() const { return labelOffset_; }
    void setLabelOffset(double offset);

    // Not retained: the scroll view holds the header. Observing another drops the earlier
    // observation first.
    std::shared_ptr<uikit::ScrollView> scrollView() const { return scrollView_.lock(); }
    void setScrollView(const std::shared_ptr<uikit::ScrollView>& scrollView);

    // 1 while the header is fully visible, less as it scrolls away: 0 when only the top inset
    // is left, negative beyond. Never divides by zero: a header no taller than the top inset
    // reads 0 until it is fully visible.
    double revealProgress() const { return revealProgress_; }
    // Visible height over the default height, above 1 while pulled down; 0 for a header of no
    // default height.
    double extendedRevealProgress() const { return extendedRevealProgress_; }

    void layoutSubviews() override;

  protected:
    void didMoveToSuperview() override;

  private:
    struct Geometry {
        double visibleHeight = 0;  // minus the content offset's y
        double topInset = 0;
        double bottomInset = 0;
    };
    Geometry currentGeometry() const;
    void updateScrollView(uikit::ScrollView& scrollView, const Geometry& geometry);
    void updateProgress(const Geometry& geometry);
    void scaleFonts();
    void placeLabelStack();

    std::shared_ptr<uikit::StackView> labelStack_ = std::make_shared<uikit::StackView>();
    std::shared_ptr<uikit::Label> titleLabel_ = std::make_shared<uikit::Label>();
    std::shared_ptr<uikit::Label> subtitleLabel_ = std::make_shared<uikit::Label>();
    std::shared_ptr<uikit::LayoutConstraint> labelLeading_;
    std::shared_ptr<uikit::LayoutConstraint> labelCenter_;
    bool useAlphaFade_ = false;
    bool useFontScaling_ = false;
    double defaultHeight_ = 0;
    double labelOffset_ = 0;
    double revealProgress_ = 1;
    double extendedRevealProgress_ = 0;
    std::weak_ptr<uikit::ScrollView> scrollView_;
    foundation::ObservationToken contentOffsetObservation_;
};

}  // namespace corvane
