#pragma once

#include <memory>
#include <optional>
#include <string>

#include "framework/storage/KSRPackage.h"
#include "ui/cells/KSQueueStateObserver.h"
#include "uikit/Button.h"
#include "uikit/GestureRecognizer.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/LayoutConstraint.h"
#include "uikit/TableViewCell.h"

namespace corvane {

// A package row with the pill-shaped Get button: a tap queues the package through the
// application, a long press opens its options, and the title follows the package's queue state.
class GetPackageCell : public uikit::TableViewCell {
  public:
    static constexpr const char* kNibName = "GetPackageCell";
    static constexpr double kRowHeight = 70;
    static constexpr double kTitleFontSize = 13;
    // The button is as wide as its title plus this.
    static constexpr double kTitlePadding = 32;
    static constexpr double kTitleAnimationDuration = 0.3;

    GetPackageCell() = default;
    // Makes the nib "GetPackageCell" known; later calls change nothing.
    static void registerNib();

    const std::string& packageIdentifier() const { return packageIdentifier_; }
    // Follows this package's queue state, and no other's, from now on.
    void setPackageIdentifier(const std::string& identifier);

    void updateWithPackage(const KSRPackage& package);
    void updatePackageIcon();
    // A package no longer stored reads "GET". Applied on the main thread, animated.
    void updateButtonTitleWithPackage(const std::optional<KSRPackage>& package,
                                      bool showsPaidLabel);
    // QUEUED, UPDATE (unless held), UNINSTALL, the price (with showsPaidLabel, when not free),
    // else GET.
    static std::string buttonTitleForPackage(const std::optional<KSRPackage>& package,
                                             bool showsPaidLabel);

    // The button's tap and its long press.
    void getPackage();
    void showOptionsAlert(const uikit::GestureRecognizer& recognizer);

    void awakeFromNib() override;
    void prepareForReuse() override;
    void layoutSubviews() override;

    // Outlets, set by the nib.
    std::shared_ptr<uikit::ImageView> iconView;
    std::shared_ptr<uikit::Label> nameLbl;
    std::shared_ptr<uikit::Label> maintainerLbl;
    std::shared_ptr<uikit::Button> getBtn;
    std::shared_ptr<uikit::LayoutConstraint> getBtnWidthConstraint;
    std::shared_ptr<uikit::View> separator;

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>&);
    static std::string maintainerText(const KSRPackage& package);
    std::weak_ptr<GetPackageCell> weakSelf();
    void applyButtonTitle(const std::string& title);
    void refreshButtonTitleNextTurn();

    std::string packageIdentifier_;
    KSQueueStateObserver queueState_;
};

}  // namespace corvane
