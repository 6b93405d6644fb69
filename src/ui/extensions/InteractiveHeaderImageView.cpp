#include "ui/extensions/InteractiveHeaderImageView.h"

#include <algorithm>

#include "uikit/Device.h"
#include "uikit/Font.h"

namespace corvane {

using uikit::Color;
using uikit::EdgeInsets;
using uikit::Font;
using uikit::FontWeight;

namespace {

bool hasSafeArea() {
    return uikit::Device::current().systemVersionAtLeast("11.0");
}

}  // namespace

InteractiveHeaderImageView::InteractiveHeaderImageView(const uikit::Rect& frame) {
    setFrame(frame);
    setContentMode(uikit::ContentMode::scaleAspectFill);
    setClipsToBounds(true);

    labelStack_->setTranslatesAutoresizingMaskIntoConstraints(false);
    labelStack_->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                                     uikit::Autoresizing::flexibleHeight);
    labelStack_->setAxis(uikit::LayoutAxis::vertical);
    labelStack_->setAlignment(uikit::StackViewAlignment::leading);
    labelStack_->setDistribution(uikit::StackViewDistribution::equalCentering);
    labelStack_->setSpacing(10);

    titleLabel_->setTextColor(Color::lightText().withAlpha(1.0));
    titleLabel_->setFont(Font::systemFont(kTitleFontSize, FontWeight::bold));
    subtitleLabel_->setTextColor(Color::lightText());
    subtitleLabel_->setFont(Font::systemFont(kSubtitleFontSize, FontWeight::regular));
    labelStack_->addArrangedSubview(titleLabel_);
    labelStack_->addArrangedSubview(subtitleLabel_);
    addSubview(labelStack_);

    auto& leadingGuide = hasSafeArea() ? safeAreaLayoutGuide() : layoutMarginsGuide();
    labelLeading_ =
        labelStack_->leadingAnchor().constraintEqualTo(leadingGuide.leadingAnchor(), kLabelInset);
    labelCenter_ = labelStack_->centerYAnchor().constraintEqualTo(centerYAnchor(), labelOffset_);
    uikit::LayoutConstraint::activate({labelLeading_, labelCenter_});
}

void InteractiveHeaderImageView::setLabelOffset(double offset) {
    labelOffset_ = offset;
    labelCenter_->setConstant(offset);
}

void InteractiveHeaderImageView::setScrollView(const std::shared_ptr<uikit::ScrollView>& view) {
    contentOffsetObservation_.reset();
    scrollView_ = view;
    if (!view)
        return;
    std::weak_ptr<uikit::View> weakSelf = weak_from_this();
    contentOffsetObservation_ = view->observeContentOffset([weakSelf](const uikit::Point&) {
        if (auto self = weakSelf.lock())
            self->setNeedsLayout();
    });
}

void InteractiveHeaderImageView::didMoveToSuperview() {
    ImageView::didMoveToSuperview();
    if (!superviewPtr())
        setScrollView(nullptr);
}

InteractiveHeaderImageView::Geometry InteractiveHeaderImageView::currentGeometry() const {
    auto view = scrollView();
    Geometry geometry;
    if (view)
        geometry.visibleHeight = -view->contentOffset().y;
    EdgeInsets insets;
    if (!hasSafeArea())
        insets = layoutMargins();
    else if (view)
        insets = view->safeAreaInsets();
    geometry.topInset = insets.top;
    geometry.bottomInset = insets.bottom;
    return geometry;
}

void InteractiveHeaderImageView::layoutSubviews() {
    ImageView::layoutSubviews();
    const Geometry geometry = currentGeometry();
    if (auto view = scrollView())
        updateScrollView(*view, geometry);
    updateProgress(geometry);
    if (useAlphaFade_)
        for (const auto& subview : subviews())
            subview->setAlpha(revealProgress_);
    if (useFontScaling_)
        scaleFonts();
    placeLabelStack();
}

void InteractiveHeaderImageView::updateScrollView(uikit::ScrollView& view,
                                                  const Geometry& geometry) {
    const double height = defaultHeight_;
    const double y = geometry.visibleHeight;
    const EdgeInsets contentInset{height - geometry.topInset, 0, geometry.bottomInset, 0};
    if (view.contentInset() != contentInset)
        view.setContentInset(contentInset);
    if (y > geometry.topInset) {
        EdgeInsets indicators = view.verticalScrollIndicatorInsets();
        indicators.top = y - geometry.topInset;
        view.setVerticalScrollIndicatorInsets(indicators);
    }
    const double width = view.bounds().width();
    if (y > height)
        setFrame({0, view.contentOffset().y, width, y});
    else
        setFrame({0, -height, width, height});
}

void InteractiveHeaderImageView::updateProgress(const Geometry& geometry) {
    const double height = defaultHeight_;
    const double y = geometry.visibleHeight;
    // Between the top inset and the resting height the header scrolls out of sight; a header
    // no taller than the inset has no such stretch, and reads hidden until it rests.
    const double stretch = height - geometry.topInset;
    if (y >= height)
        revealProgress_ = 1;
    else if (stretch > 0)
        revealProgress_ = std::min(1.0, (y - height) / stretch + 1);
    else
        revealProgress_ = 0;
    extendedRevealProgress_ = height > 0 ? y / height : 0;
}

void InteractiveHeaderImageView::scaleFonts() {
    const double e = extendedRevealProgress_;
    if (e < 1.0 || e > 1.75)
        return;
    titleLabel_->setFont(Font::systemFont(kTitleFontSize * e, FontWeight::bold * e));
    subtitleLabel_->setFont(Font::systemFont(kSubtitleFontSize * e, FontWeight::regular * e));
}

// Without a constraint solver, the stack is placed where its two constraints put it.
void InteractiveHeaderImageView::placeLabelStack() {
    const EdgeInsets guide = hasSafeArea() ? safeAreaInsets() : layoutMargins();
    const double x = guide.left + labelLeading_->constant();
    const uikit::Size natural = labelStack_->intrinsicContentSize();
    const double width = std::clamp(natural.width, 0.0, std::max(0.0, bounds().width() - x));
    const double centerY = bounds().height() / 2 + labelCenter_->constant();
    labelStack_->setFrame({x, centerY - natural.height / 2, width, natural.height});
}

}  // namespace corvane
