#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/CollectionViewCell.h"
#include "uikit/GestureRecognizer.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/LongPressGestureRecognizer.h"
#include "uikit/VisualEffectView.h"

namespace corvane {

// Posted (no object) when a featured banner is pressed and held.
inline constexpr const char* kLongPressBeganNotification = "LongPressBeganNotification";
// Posted when the press ends or is cancelled; user info "identifier": the banner's package.
inline constexpr const char* kLongPressEndedNotification = "LongPressEndedNotification";

// The featured banner: the package's banner image with its icon and texts under a blur. Held
// down, it shrinks a little and tells the featured screen, which pauses its scrolling.
class BigFeaturedCell : public uikit::CollectionViewCell {
  public:
    static constexpr const char* kNibName = "BigFeaturedCell";
    static constexpr double kMinimumPressDuration = 0.1;
    static constexpr double kPressedScale = 0.95;
    static constexpr double kSpringDuration = 0.5;

    BigFeaturedCell() = default;
    // Makes the nib "BigFeaturedCell" known; later calls change nothing.
    static void registerNib();

    const std::optional<std::string>& packageIdentifier() const { return packageIdentifier_; }
    void setPackageIdentifier(std::optional<std::string> identifier) {
        packageIdentifier_ = std::move(identifier);
    }
    bool isPressed() const { return isPressed_; }

    void updatePackageIcon();
    // Gives the cell its one long press, once.
    void configureGestureRecognizer();
    void handleLongPressGesture(const uikit::GestureRecognizer& recognizer);
    void handleLongPressBegan();
    void handleLongPressEnded();

    void layoutSubviews() override;

    // Outlets, set by the nib.
    std::shared_ptr<uikit::ImageView> imageView;
    std::shared_ptr<uikit::VisualEffectView> bottomBlur;
    std::shared_ptr<uikit::ImageView> iconView;
    std::shared_ptr<uikit::Label> nameLbl;
    std::shared_ptr<uikit::Label> descriptionLbl;
    std::shared_ptr<uikit::Label> maintainerSourceLbl;

    std::shared_ptr<uikit::LongPressGestureRecognizer> longPressGestureRecognizer;

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>&);

    std::optional<std::string> packageIdentifier_;
    bool isPressed_ = false;
};

}  // namespace corvane
