#include "ui/cells/PackageCell.h"

#include <algorithm>
#include <cmath>

#include "framework/compatibility/TweakCompatibilityManager.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSRQueueOperation.h"
#include "ui/cells/KSCellViews.h"
#include "ui/cells/KSPackageIconFrame.h"
#include "ui/cells/KSPackageSourceLine.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"

namespace corvane {

using uikit::Color;
using uikit::Font;
using uikit::Rect;

namespace {

constexpr double kInset = 16;
constexpr double kIconSize = 48;
constexpr double kTextX = kInset + kIconSize + 12;
constexpr double kStatusIconSize = 25;
constexpr double kDotSize = 8;
constexpr double kGap = 6;
constexpr double kDescriptionTop = 46;

struct QueueIcon {
    const char* image;
    Color tint;
};

std::optional<QueueIcon> queueIcon(unsigned operation) {
    switch (operation) {
        case KSRQueueOperationInstall:
            return QueueIcon{"install", Color::systemGreen()};
        case KSRQueueOperationRemove:
            return QueueIcon{"uninstall", Color::systemRed()};
        case KSRQueueOperationUpgrade:
            return QueueIcon{"upgrade", Color::systemBlue()};
        case KSRQueueOperationDowngrade:
            return QueueIcon{"downgrade", Color::systemOrange()};
        case KSRQueueOperationReinstall:
            return QueueIcon{"reinstall", Color::systemPurple()};
        default:
            return std::nullopt;
    }
}

std::shared_ptr<uikit::Image> templateImage(const std::string& name) {
    auto image = uikit::Image::named(name);
    return image ? image->withRenderingMode(uikit::ImageRenderingMode::alwaysTemplate) : nullptr;
}

bool preference(const char* key) {
    return CorvanePersistentPreferences::sharedInstance().boolForKey(key);
}

double fittingHeight(const uikit::Label& label, double width) {
    return label.sizeThatFits({width, 1e6}).height;
}

// The lines of the label the room below it holds, one at least: a long description never runs
// over the next row.
double heightWithin(const uikit::Label& label, double width, double room) {
    const double fitting = fittingHeight(label, width);
    if (fitting <= room)
        return fitting;
    const double line = label.font().lineHeight();
    return std::max(1.0, std::floor(room / line)) * line;
}

}  // namespace

PackageCell::PackageCell() : uikit::TableViewCell(Style::defaultStyle, kReuseIdentifier) {}

void PackageCell::registerNib() {
    uikit::NibRegistry::shared().registerNib(kNibName, &build);
}

std::shared_ptr<uikit::View> PackageCell::build(const std::shared_ptr<uikit::ViewController>&) {
    auto cell = std::make_shared<PackageCell>();
    cell->setFrame({0, 0, uikit::Screen::main().bounds().width(), kRowHeight});
    auto& content = *cell->contentView();
    content.setFrame(cell->bounds());
    const double grey = 0.45;
    cell->iconView = KSCellViews::imageView(
        content, {kInset, (kRowHeight - kIconSize) / 2, kIconSize, kIconSize});
    cell->nameLbl = KSCellViews::label(content, {kTextX, 10, 0, 20}, Font::boldSystemFont(16));
    cell->versionLbl =
        KSCellViews::label(content, {kTextX, 12, 0, 18}, Font::systemFont(13), Color::white(grey));
    cell->subinfoLbl =
        KSCellViews::label(content, {kTextX, 30, 0, 16}, Font::systemFont(13), Color::white(grey));
    cell->descriptionLbl =
        KSCellViews::label(content, {kTextX, kDescriptionTop, 0, 16}, Font::systemFont(12),
                           Color::white(grey), kDescriptionLines);
    cell->installOrQueueStatusImageView =
        KSCellViews::imageView(content, {0, 0, kStatusIconSize, kStatusIconSize});
    cell->installOrQueueStatusImageView->setContentMode(uikit::ContentMode::scaleAspectFit);
    cell->compatibilityView = KSCellViews::view(content, {0, 14, kDotSize, kDotSize});
    cell->compatibilityView->layer().setCornerRadius(kDotSize / 2);
    cell->separator = KSCellViews::separator(content, kTextX);

    cell->descriptionLblTrailingConstraint = content.trailingAnchor().constraintEqualTo(
        cell->descriptionLbl->trailingAnchor(), kDescriptionTrailingAfterFill);
    cell->compatibilityViewTrailingConstraint = content.trailingAnchor().constraintEqualTo(
        cell->compatibilityView->trailingAnchor(), kCompatibilityTrailing);
    uikit::LayoutConstraint::activate(
        {cell->descriptionLblTrailingConstraint, cell->compatibilityViewTrailingConstraint});
    return cell;
}

void PackageCell::updateWithPackage(const KSRPackage& package) {
    packageIdentifier_ = package.identifier;
    std::weak_ptr<PackageCell> weakSelf = std::static_pointer_cast<PackageCell>(shared_from_this());
    queueState_.observe(packageIdentifier_, [weakSelf](const std::optional<KSRPackage>& stored) {
        if (auto self = weakSelf.lock())
            self->updateQueuingIconWithPackage(stored);
    });
    setBackgroundColor(Color::clear());
    nameLbl->setText(package.name);
    installOrQueueStatusImageView->setHidden(false);
    descriptionLblTrailingConstraint->setConstant(kDescriptionTrailingAfterFill);
    versionLbl->setText(package.isInstalled ? package.installedVersion : package.version);
    versionLbl->setHidden(preference("HidePackageVersion"));
    descriptionLbl->setHidden(preference("HidePackageDescription"));
    descriptionLbl->setText(package.Description);
    descriptionLbl->setNumberOfLines(kDescriptionLines);
    descriptionLbl->setLineBreakMode(uikit::LineBreakMode::byTruncatingTail);
    KSPackageIconFrame::apply(*iconView);
    setAccessoryType(AccessoryType::none);
    subinfoLbl->setText(KSPackageSourceLine::isPreferred() ? KSPackageSourceLine::text(package)
                                                           : package.maintainer);
    setNeedsLayout();
}

void PackageCell::updatePackageIcon() {
    iconView->setImage(
        KSRPackageManager::sharedPackageManager().packages().iconForIdentifier(packageIdentifier_));
}

void PackageCell::updateVersionLabelShowingDowngradeIfNeededForPackage(const KSRPackage& package) {
    if (package.isInTheQueue && package.queueOperation == KSRQueueOperationDowngrade)
        versionLbl->setText(package.queuedVersion);
    else
        versionLbl->setText(package.isInstalled ? package.installedVersion : package.version);
    versionLbl->setHidden(preference("HidePackageVersion"));
    setNeedsLayout();
}

void PackageCell::updateConpatibilityIndicatorWithPackageIdentifier(
    const std::string& identifier, const std::optional<std::string>& version) {
    const bool hidden = preference("HidePackageTweakCompatibleIndicator");
    compatibilityView->setHidden(hidden);
    if (hidden)
        return;
    compatibilityView->setBackgroundColor(
        TweakCompatibilityManager::sharedManager()->colorForBundle(identifier,
                                                                   version.value_or("")));
    compatibilityViewTrailingConstraint->setConstant(kCompatibilityTrailing);
    setNeedsLayout();
}

void PackageCell::updateQueuingIconWithPackage(const std::optional<KSRPackage>& package) {
    if (!package) {
        setQueueingIcon(nullptr, std::nullopt);
        return;
    }
    if (!package->isInTheQueue && package->isInstalled) {
        setQueueingIcon(templateImage("installed"), Color::systemGreen());
        return;
    }
    updateQueuingIconWithOperation(package->queueOperation);
}

void PackageCell::updateQueuingIconWithOperation(unsigned operation) {
    if (const auto icon = queueIcon(operation))
        setQueueingIcon(templateImage(icon->image), icon->tint);
    else
        setQueueingIcon(nullptr, std::nullopt);
}

void PackageCell::setQueueingIcon(std::shared_ptr<uikit::Image> image,
                                  std::optional<uikit::Color> color) {
    auto& status = *installOrQueueStatusImageView;
    if (image) {
        status.setTintColor(color);
        descriptionLblTrailingConstraint->setConstant(kDescriptionTrailingWithIcon);
        status.setHidden(false);
        status.setImage(std::move(image));
    } else {
        descriptionLblTrailingConstraint->setConstant(kDescriptionTrailingWithoutIcon);
        status.setHidden(true);
        status.setImage(nullptr);
    }
    setNeedsLayout();
}

void PackageCell::prepareForReuse() {
    uikit::TableViewCell::prepareForReuse();
    queueState_.stop();
}

void PackageCell::layoutSubviews() {
    uikit::TableViewCell::layoutSubviews();
    const Rect content = contentView()->bounds();
    const double width = content.width();
    iconView->setFrame({kInset, (content.height() - kIconSize) / 2, kIconSize, kIconSize});
    installOrQueueStatusImageView->setFrame({width - kInset - kStatusIconSize,
                                             (content.height() - kStatusIconSize) / 2,
                                             kStatusIconSize, kStatusIconSize});
    compatibilityView->setFrame({width - compatibilityViewTrailingConstraint->constant() - kDotSize,
                                 compatibilityView->frame().origin.y, kDotSize, kDotSize});
    layoutFirstLine(width);
    const double textRight = width - descriptionLblTrailingConstraint->constant();
    const double textWidth = std::max(0.0, textRight - kTextX);
    subinfoLbl->setFrame({kTextX, 30, textWidth, 16});
    descriptionLbl->setFrame(
        {kTextX, kDescriptionTop, textWidth,
         heightWithin(*descriptionLbl, textWidth, content.height() - kDescriptionTop)});
}

// Name, then the version right after it; the name gives way when both do not fit.
void PackageCell::layoutFirstLine(double width) {
    const double right = width - kInset - kDotSize - kGap;
    const double available = std::max(0.0, right - kTextX);
    const double version =
        versionLbl->isHidden() ? 0 : std::min(versionLbl->intrinsicContentSize().width, available);
    const double name = std::min(nameLbl->intrinsicContentSize().width,
                                 std::max(0.0, available - version - (version > 0 ? kGap : 0)));
    nameLbl->setFrame({kTextX, 10, name, 20});
    versionLbl->setFrame({kTextX + name + kGap, 12, version, 18});
}

}  // namespace corvane
