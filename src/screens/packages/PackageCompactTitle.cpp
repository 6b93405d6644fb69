#include "screens/packages/PackageCompactTitle.h"

#include "foundation/Localization.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "screens/packages/PackageSnapshot.h"

namespace corvane {

namespace {

// The first title, before the package collection's rule has been asked.
std::string firstGetTitle(const foundation::Value::Dictionary& package) {
    if (PackageSnapshot::field(package, "isUpdated").boolValue() &&
        !PackageSnapshot::field(package, "isHeld").boolValue())
        return foundation::localized("UPDATE");
    if (PackageSnapshot::field(package, "isInstalled").boolValue())
        return foundation::localized("UNINSTALL");
    const std::string price = PackageSnapshot::text(package, "price");
    if (price.empty() || price == "0" || price == "free" || price == "Free")
        return foundation::localized("GET");
    return price;
}

}  // namespace

void PackageCompactTitle::build(const std::string& identifier,
                                const foundation::Value::Dictionary& package,
                                const std::optional<KSPalette>& palette,
                                std::shared_ptr<uikit::View> defaultTitleView) {
    customTitleView_ = std::make_shared<uikit::View>(uikit::Rect{0, 0, 30, 30});
    titleViewImgView_ = std::make_shared<uikit::ImageView>(
        KSRPackageManager::sharedPackageManager().packages().iconForIdentifier(identifier));
    titleViewImgView_->setContentMode(uikit::ContentMode::scaleAspectFit);
    titleViewImgView_->setFrame(customTitleView_->bounds());
    titleViewImgView_->layer().setCornerRadius(6.711);
    titleViewImgView_->setClipsToBounds(true);
    customTitleView_->addSubview(titleViewImgView_);

    getBarBtn_ = std::make_shared<uikit::Button>(uikit::ButtonType::custom);
    getBarBtn_->setFrame({0, 0, 100, 25});
    getBarBtn_->titleLabel()->setFont(uikit::Font::boldSystemFont(15));
    getBarBtn_->widthAnchor().constraintEqualToConstant(100)->setActive(true);
    getBarBtn_->heightAnchor().constraintEqualToConstant(25)->setActive(true);
    getBarBtn_->setTitle(firstGetTitle(package));
    if (palette)
        getBarBtn_->setBackgroundColor(palette->tintColor());
    getBarBtn_->layer().setCornerRadius(12);
    getBarBtnItem_ = uikit::BarButtonItem::withCustomView(getBarBtn_);
    defaultTitleView_ = std::move(defaultTitleView);
}

void PackageCompactTitle::setGetTitle(const std::string& title, bool enabled) {
    getBarBtn_->setTitle(title);
    getBarBtn_->setEnabled(enabled);
}

void PackageCompactTitle::setGetAlpha(double alpha) {
    getBarBtn_->setAlpha(alpha);
}

void PackageCompactTitle::setTitleAlpha(double alpha) {
    customTitleView_->setAlpha(alpha);
}

}  // namespace corvane
