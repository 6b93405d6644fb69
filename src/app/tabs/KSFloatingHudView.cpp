#include "app/tabs/KSFloatingHudView.h"

#include "foundation/Dispatch.h"
#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "ui/palette/KSPaletteManager.h"
#include "uikit/Animation.h"
#include "uikit/TapGestureRecognizer.h"

namespace corvane {

namespace {

constexpr double kStackSpacing = 1;
constexpr double kStackTop = 12;
constexpr double kStackBottom = -14;
constexpr double kProgressBottom = -6;
constexpr double kProgressHeight = 2;

std::shared_ptr<uikit::Label> makeLabel(const uikit::Font& font) {
    auto label = std::make_shared<uikit::Label>();
    label->setFont(font);
    return label;
}

// Leading and trailing inset from a view or a guide.
template <typename Item>
void pinSides(uikit::View& view, const Item& to, double inset) {
    view.setTranslatesAutoresizingMaskIntoConstraints(false);
    uikit::LayoutConstraint::activate(
        {view.leadingAnchor().constraintEqualTo(to.leadingAnchor(), inset),
         view.trailingAnchor().constraintEqualTo(to.trailingAnchor(), -inset)});
}

}  // namespace

std::shared_ptr<KSFloatingHudView> KSFloatingHudView::create(
    std::weak_ptr<HudPresenting> delegate) {
    auto hud = std::make_shared<KSFloatingHudView>();
    hud->delegate_ = std::move(delegate);
    std::weak_ptr<KSFloatingHudView> weak = hud;
    hud->addGestureRecognizer(
        std::make_shared<uikit::TapGestureRecognizer>([weak](uikit::GestureRecognizer&) {
            if (auto alive = weak.lock())
                alive->presentView();
        }));
    return hud;
}

KSFloatingHudView::KSFloatingHudView() {
    buildSubviews();
}

void KSFloatingHudView::buildSubviews() {
    layer().setCornerRadius(kCornerRadius);
    setClipsToBounds(true);
    primaryLabel_ = makeLabel(uikit::Font::boldSystemFont(16));
    secondaryLabel_ = makeLabel(uikit::Font::systemFont(14, uikit::FontWeight::medium));
    labelStack_ = std::make_shared<uikit::StackView>(
        std::vector<std::shared_ptr<uikit::View>>{primaryLabel_, secondaryLabel_});
    labelStack_->setAxis(uikit::LayoutAxis::vertical);
    labelStack_->setSpacing(kStackSpacing);
    labelStack_->setAlignment(uikit::StackViewAlignment::leading);
    labelStack_->setDistribution(uikit::StackViewDistribution::fill);
    labelStack_->setUserInteractionEnabled(false);
    addSubview(labelStack_);
    pinSides(*labelStack_, *this, kSideInset);
    uikit::LayoutConstraint::activate(
        {labelStack_->topAnchor().constraintEqualTo(topAnchor(), kStackTop),
         labelStack_->bottomAnchor().constraintEqualTo(bottomAnchor(), kStackBottom)});

    progressView_ = std::make_shared<uikit::ProgressView>();
    progressView_->setHidden(true);
    addSubview(progressView_);
    pinSides(*progressView_, *this, kSideInset);
    uikit::LayoutConstraint::activate(
        {progressView_->bottomAnchor().constraintEqualTo(bottomAnchor(), kProgressBottom),
         progressView_->heightAnchor().constraintEqualToConstant(kProgressHeight)});
}

void KSFloatingHudView::anchorToView(const std::shared_ptr<uikit::View>& host,
                                     const uikit::LayoutAnchor& bottomAnchor) {
    host->addSubview(shared_from_this());
    pinSides(*this, host->safeAreaLayoutGuide(), kSideInset);
    uikit::LayoutConstraint::activate(
        {heightAnchor().constraintEqualToConstant(kHeight),
         this->bottomAnchor().constraintEqualTo(bottomAnchor, -kSpacingAboveBottom)});
    host->setNeedsLayout();
}

void KSFloatingHudView::updatePalette() {
    const auto palette = KSPaletteManager::getActivePalette();
    setBackgroundColor(palette.queueBackgroundColor());
    primaryLabel_->setTextColor(palette.tintColor());
    secondaryLabel_->setTextColor(palette.secondaryTextColor());
    progressView_->setProgressTintColor(palette.tintColor());
}

void KSFloatingHudView::onMain(std::function<void(KSFloatingHudView&)> change) {
    foundation::runOnMain(
        [weak = std::weak_ptr<View>(weak_from_this()), change = std::move(change)] {
            if (auto alive = weak.lock())
                change(static_cast<KSFloatingHudView&>(*alive));
        });
}

void KSFloatingHudView::setItemCount(std::uint64_t count) {
    onMain([count](KSFloatingHudView& hud) {
        if (hud.presentationType_ == refreshMode)
            hud.showRefreshCount(count);
        else
            hud.showQueueCount(count);
    });
}

void KSFloatingHudView::showRefreshCount(std::uint64_t count) {
    using foundation::localized;
    setHidden(false);
    progressTotal_ = std::max(progressTotal_, count);
    // Nothing has run yet when the total is still 0: the bar is then simply full.
    const double left = progressTotal_ == 0 ? 0 : double(count) / double(progressTotal_);
    progressView_->setProgress(1.0 - left);
    progressView_->setHidden(count == 0);
    if (count == 0) {
        primaryLabel_->setText(localized("Refresh Complete"));
        return;
    }
    primaryLabel_->setText(localized("Tasks In Progress"));
    secondaryLabel_->setText(count == 1
                                 ? localized("1 Running Task")
                                 : foundation::format(localized("%lu Running Tasks"), count));
}

void KSFloatingHudView::showQueueCount(std::uint64_t count) {
    using foundation::localized;
    setHidden(count == 0);
    primaryLabel_->setText("Queue");
    if (count == 0)
        secondaryLabel_->setText("");
    else if (count == 1)
        secondaryLabel_->setText(localized("1 Package"));
    else
        secondaryLabel_->setText(foundation::format(localized("%lu Packages"), count));
}

void KSFloatingHudView::setPrimaryText(std::string text) {
    onMain([text = std::move(text)](KSFloatingHudView& hud) { hud.primaryLabel_->setText(text); });
}

void KSFloatingHudView::setSecondaryText(std::string text) {
    onMain(
        [text = std::move(text)](KSFloatingHudView& hud) { hud.secondaryLabel_->setText(text); });
}

void KSFloatingHudView::setScale(double scale) {
    uikit::Animation::animateWithSpring(
        0.35, 0, 0.3, 7.0,
        uikit::AnimationOption::allowUserInteraction |
            uikit::AnimationOption::beginFromCurrentState,
        [weak = weak_from_this(), scale] {
            if (auto alive = weak.lock())
                alive->setTransform(uikit::AffineTransform::makeScale(scale, scale));
        });
}

void KSFloatingHudView::presentView() {
    auto delegate = delegate_.lock();
    if (!delegate)
        return;
    if (presentationType_ == refreshMode)
        delegate->presentTasks();
    else
        delegate->presentQueue();
}

void KSFloatingHudView::touchesBegan(const std::vector<uikit::Touch>&) {
    setScale(kPressedScale);
}

void KSFloatingHudView::touchesEnded(const std::vector<uikit::Touch>&) {
    setScale(1);
}

void KSFloatingHudView::touchesCancelled(const std::vector<uikit::Touch>&) {
    setScale(1);
}

}  // namespace corvane
