#include "screens/website/WebDepictionHeader.h"

#include "foundation/ByteCountFormatter.h"
#include "foundation/Strings.h"
#include "framework/packagemanager/KSRPackageManager.h"

namespace corvane {

namespace {

// Taller than one line of the name: it has wrapped.
constexpr double kOneLineNameHeight = 43;

}  // namespace

std::string WebDepictionHeader::getButtonTitle(const KSRPackage& package) {
    if (package.isUpdated && !package.isHeld)
        return "UPDATE";
    if (package.isInstalled)
        return "UNINSTALL";
    if (package.isFree())
        return "GET";
    return package.price.value_or("");
}

void WebDepictionHeader::fill(WebDepictionOutlets& o, const std::optional<KSRPackage>& package) {
    o.iconView->setImage(
        package ? KSRPackageManager::sharedPackageManager().packages().iconForIdentifier(
                      package->identifier)
                : nullptr);
    o.nameLbl->setText(package ? package->name.value_or("") : "");
    o.maintainerLbl->setText(package ? package->maintainer.value_or("") : "");
    o.packageSizeLbl->setText(package ? foundation::ByteCountFormatter::stringFromByteCount(
                                            foundation::integerValue(package->size.value_or("")))
                                      : "");
    o.packageVersionLbl->setText(package ? package->version.value_or("") : "");
    o.packageCategoryLbl->setText(package ? package->category.value_or("") : "");
}

void WebDepictionHeader::layout(WebDepictionOutlets& o, bool smallScreen, bool usingInfoJson) {
    const bool largeIcon = usingInfoJson && !smallScreen;
    double side = 80;
    if (usingInfoJson)
        side = smallScreen ? 100 : 120;
    o.iconView->layer().setCornerRadius(usingInfoJson ? side / 4 : 20);
    o.iconView->setClipsToBounds(true);
    o.iconViewWidthConstraint->setConstant(side);
    o.iconViewHeightConstraint->setConstant(side);
    placeButtonsUnderMaintainer(o, !largeIcon);
    if (smallScreen) {
        o.nameLbl->setFont(uikit::Font::systemFont(22, uikit::FontWeight::semibold));
        for (const auto& caption : {o.sizeLbl, o.versionLbl, o.categoryLbl})
            caption->setFont(uikit::Font::systemFont(15, uikit::FontWeight::semibold));
    }
}

void WebDepictionHeader::finishPlaced(WebDepictionOutlets& o, bool smallScreen) {
    for (const auto& button : {o.getBtn, o.shareBtn})
        button->layer().setCornerRadius(button->frame().height() / 2);
    if (smallScreen)
        return;
    const bool wrapped = o.nameLbl->frame().height() > kOneLineNameHeight;
    o.maintainerLbl->setAdjustsFontSizeToFitWidth(wrapped);
    o.maintainerLbl->setNumberOfLines(wrapped ? 1 : 2);
}

// A large icon leaves room for the buttons beside it; otherwise they go under the maintainer.
void WebDepictionHeader::placeButtonsUnderMaintainer(WebDepictionOutlets& o, bool under) {
    o.getBtnTopConstraintToIconView->setActive(!under);
    o.shareBtnTopConstraintToIconView->setActive(!under);
    o.getBtnTopConstraintToMaintainerLbl->setConstant(30);
    o.shareBtnTopConstraintToMaintainerLbl->setConstant(30);
    o.getBtnTopConstraintToMaintainerLbl->setActive(under);
    o.shareBtnTopConstraintToMaintainerLbl->setActive(under);
}

}  // namespace corvane
