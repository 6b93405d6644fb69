#pragma once

#include <memory>
#include <optional>
#include <string>

#include "framework/storage/KSRPackage.h"
#include "ui/cells/KSQueueStateObserver.h"
#include "uikit/Image.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/LayoutConstraint.h"
#include "uikit/TableViewCell.h"

namespace corvane {

// The row of every package list: icon, name, version, maintainer or source name, description,
// the compatibility dot, and an icon telling whether the package is installed or which queue
// operation waits for it. The icon follows the package's queue state while the row shows it.
class PackageCell : public uikit::TableViewCell {
  public:
    static constexpr const char* kNibName = "PackageCell";
    static constexpr const char* kReuseIdentifier = "cell";
    static constexpr double kRowHeight = 70;
    // Trailing space of the description.
    static constexpr double kDescriptionTrailingWithIcon = 51;
    static constexpr double kDescriptionTrailingWithoutIcon = 0;
    static constexpr double kDescriptionTrailingAfterFill = 16;
    static constexpr double kCompatibilityTrailing = 16;
    static constexpr int kDescriptionLines = 3;

    PackageCell();
    // Makes the nib "PackageCell" known; later calls change nothing.
    static void registerNib();

    const std::string& packageIdentifier() const { return packageIdentifier_; }
    // Names the row's package for a screen that fills the row itself; its queue state is not
    // followed.
    void setPackageIdentifier(std::string identifier) {
        packageIdentifier_ = std::move(identifier);
    }

    // Fills the row and follows this package's queue state (and no other's) from now on.
    void updateWithPackage(const KSRPackage& package);
    void updatePackageIcon();
    // The queued version of a queued downgrade, else the installed or repository version.
    void updateVersionLabelShowingDowngradeIfNeededForPackage(const KSRPackage& package);
    void updateConpatibilityIndicatorWithPackageIdentifier(
        const std::string& identifier, const std::optional<std::string>& version);
    // Installed, else the queue operation's icon; none for a package no longer stored.
    void updateQueuingIconWithPackage(const std::optional<KSRPackage>& package);
    void updateQueuingIconWithOperation(unsigned operation);
    // A null image hides the status icon and gives its room to the description.
    void setQueueingIcon(std::shared_ptr<uikit::Image> image, std::optional<uikit::Color> color);

    void prepareForReuse() override;
    void layoutSubviews() override;

    // Outlets, set by the nib.
    std::shared_ptr<uikit::ImageView> iconView;
    std::shared_ptr<uikit::Label> nameLbl;
    std::shared_ptr<uikit::Label> versionLbl;
    std::shared_ptr<uikit::Label> subinfoLbl;
    std::shared_ptr<uikit::Label> descriptionLbl;
    std::shared_ptr<uikit::LayoutConstraint> descriptionLblTrailingConstraint;
    std::shared_ptr<uikit::ImageView> installOrQueueStatusImageView;
    std::shared_ptr<uikit::View> compatibilityView;
    std::shared_ptr<uikit::LayoutConstraint> compatibilityViewTrailingConstraint;
    std::shared_ptr<uikit::View> separator;

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>&);
    void layoutFirstLine(double width);

    std::string packageIdentifier_;
    KSQueueStateObserver queueState_;
};

}  // namespace corvane
