#include "ui/cells/BigFeaturedCell.h"

#include "foundation/NotificationCenter.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "ui/cells/KSCellViews.h"
#include "uikit/Animation.h"
#include "uikit/NibRegistry.h"

namespace corvane {

using uikit::AffineTransform;
using uikit::Color;
using uikit::Font;
using uikit::GestureRecognizer;

namespace {

constexpr double kWidth = 343;
constexpr double kHeight = 220;
constexpr double kBlurHeight = 72;
constexpr double kIconSize = 48;
constexpr double kInset = 12;
constexpr double kPressDamping = 0.8;
constexpr double kReleaseDamping = 0.4;
constexpr double kInitialVelocity = 0.2;

}  // namespace

void BigFeaturedCell::registerNib() {
    uikit::NibRegistry::shared().registerNib(kNibName, &build);
}

std::shared_ptr<uikit::View> BigFeaturedCell::build(const std::shared_ptr<uikit::ViewController>&) {
    auto cell = std::make_shared<BigFeaturedCell>();
    cell->setFrame({0, 0, kWidth, kHeight});
    auto& content = *cell->contentView();
    content.setFrame(cell->bounds());
    content.layer().setCornerRadius(12);
    content.setClipsToBounds(true);
    cell->imageView = KSCellViews::imageView(content, cell->bounds());
    cell->imageView->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                                         uikit::Autoresizing::flexibleHeight);
    auto blur = std::make_shared<uikit::VisualEffectView>(uikit::BlurEffectStyle::dark);
    blur->setFrame({0, kHeight - kBlurHeight, kWidth, kBlurHeight});
    blur->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                              uikit::Autoresizing::flexibleTopMargin);
    content.addSubview(blur);
    cell->bottomBlur = blur;
    auto& bar = *blur;
    cell->iconView = KSCellViews::imageView(bar, {kInset, kInset, kIconSize, kIconSize});
    const double textX = 2 * kInset + kIconSize;
    const double textWidth = kWidth - textX - kInset;
    cell->nameLbl = KSCellViews::label(bar, {textX, 10, textWidth, 20}, Font::boldSystemFont(16),
                                       Color::white());
    cell->descriptionLbl = KSCellViews::label(bar, {textX, 30, textWidth, 16}, Font::systemFont(13),
                                              Color::white(0.9));
    cell->maintainerSourceLbl = KSCellViews::label(bar, {textX, 46, textWidth, 16},
                                                   Font::systemFont(12), Color::white(0.7));
    return cell;
}

void BigFeaturedCell::updatePackageIcon() {
    if (packageIdentifier_)
        iconView->setImage(KSRPackageManager::sharedPackageManager().packages().iconForIdentifier(
            *packageIdentifier_));
}

void BigFeaturedCell::layoutSubviews() {
    uikit::CollectionViewCell::layoutSubviews();
    configureGestureRecognizer();
}

void BigFeaturedCell::configureGestureRecognizer() {
    if (longPressGestureRecognizer)
        return;
    std::weak_ptr<BigFeaturedCell> weakSelf =
        std::static_pointer_cast<BigFeaturedCell>(shared_from_this());
    longPressGestureRecognizer = std::make_shared<uikit::LongPressGestureRecognizer>(
        [weakSelf](GestureRecognizer& recognizer) {
            if (auto self = weakSelf.lock())
                self->handleLongPressGesture(recognizer);
        });
    longPressGestureRecognizer->setMinimumPressDuration(kMinimumPressDuration);
    addGestureRecognizer(longPressGestureRecognizer);
}

void BigFeaturedCell::handleLongPressGesture(const GestureRecognizer& recognizer) {
    auto& center = foundation::NotificationCenter::defaultCenter();
    switch (recognizer.state()) {
        case GestureRecognizer::State::began:
            center.post(kLongPressBeganNotification);
            handleLongPressBegan();
            break;
        case GestureRecognizer::State::ended:
        case GestureRecognizer::State::cancelled: {
            handleLongPressEnded();
            foundation::Dictionary userInfo;
            if (packageIdentifier_)
                userInfo["identifier"] = *packageIdentifier_;
            center.post(kLongPressEndedNotification, {}, foundation::Value(std::move(userInfo)));
            break;
        }
        default:
            break;
    }
}

void BigFeaturedCell::handleLongPressBegan() {
    if (isPressed_)
        return;
    isPressed_ = true;
    uikit::Animation::animateWithSpring(
        kSpringDuration, 0, kPressDamping, kInitialVelocity,
        uikit::AnimationOption::beginFromCurrentState, [this] {
            setTransform(AffineTransform::identity().scaledBy(kPressedScale, kPressedScale));
        });
}

void BigFeaturedCell::handleLongPressEnded() {
    if (!isPressed_)
        return;
    std::weak_ptr<BigFeaturedCell> weakSelf =
        std::static_pointer_cast<BigFeaturedCell>(shared_from_this());
    uikit::Animation::animateWithSpring(
        kSpringDuration, 0, kReleaseDamping, kInitialVelocity,
        uikit::AnimationOption::beginFromCurrentState,
        [this] { setTransform(AffineTransform::identity()); },
        [weakSelf](bool) {
            if (auto self = weakSelf.lock())
                self->isPressed_ = false;
        });
}

}  // namespace corvane
