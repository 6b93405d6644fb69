#include "ui/core/KSPalettedViewController.h"

#include <limits>

#include "foundation/NotificationCenter.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "ui/extensions/ImageExtensions.h"
#include "ui/palette/KSPaletteManager.h"
#include "uikit/Application.h"
#include "uikit/Device.h"
#include "uikit/NavigationController.h"
#include "uikit/TabBarController.h"

namespace corvane {

namespace {

bool isAtLeastIOS13() {
    return uikit::Device::current().systemVersionAtLeast("13.0");
}

bool preference(const char* key) {
    return CorvanePersistentPreferences::sharedInstance().boolForKey(key);
}

// With the system appearance followed, the bars take their style from the system instead.
bool barsFollowSystemAppearance() {
    return isAtLeastIOS13() && preference("ObserveAppleDarkModeChanges");
}

}  // namespace

void KSPalettedViewController::setOverrideColor(std::optional<uikit::Color> color,
                                                const std::string& keyPath) {
    if (color)
        overrideColors_[keyPath] = *color;
    else
        overrideColors_.erase(keyPath);
}

std::optional<uikit::Color> KSPalettedViewController::overrideColorForKeyPath(
    const std::string& keyPath) const {
    auto found = overrideColors_.find(keyPath);
    if (found == overrideColors_.end())
        return std::nullopt;
    return found->second;
}

void KSPalettedViewController::resetOverridesColors() {
    overrideColors_.clear();
}

bool KSPalettedViewController::isDarkMode() const {
    return KSPaletteManager::isDarkMode();
}

uikit::StatusBarStyle KSPalettedViewController::preferredStatusBarStyle() const {
    return isDarkMode() ? uikit::StatusBarStyle::lightContent : uikit::StatusBarStyle::defaultStyle;
}

void KSPalettedViewController::loadView() {
    ViewController::loadView();
    installFakeStatusBar();
}

void KSPalettedViewController::viewDidLoad() {
    if (isAtLeastIOS13())
        observeTraitCollection_ = true;
    _paletteDidChangeInternal();
    ViewController::viewDidLoad();
}

void KSPalettedViewController::viewWillAppear(bool animated) {
    fakeStatusBar_ = findFakeStatusBar();
    // Assigning a token ends the observation it held, so appearing again never observes twice.
    std::weak_ptr<uikit::ViewController> weakSelf = weak_from_this();
    auto& center = foundation::NotificationCenter::defaultCenter();
    activationObservation_ = center.addObserver(
        uikit::Application::kDidBecomeActiveNotification,
        [weakSelf](const foundation::Notification& notification) {
            if (auto self = std::static_pointer_cast<KSPalettedViewController>(weakSelf.lock()))
                self->applicationDidBecomeActive(notification);
        });
    paletteObservation_ = center.addObserver(
        KSPaletteDidChangeNotification, [weakSelf](const foundation::Notification&) {
            if (auto self = std::static_pointer_cast<KSPalettedViewController>(weakSelf.lock()))
                self->_paletteDidChangeInternal();
        });
    checkForTraitChanged();
    _paletteDidChangeInternal();
    ViewController::viewWillAppear(animated);
    setNeedsStatusBarAppearanceUpdate();
}

void KSPalettedViewController::viewDidDisappear(bool animated) {
    activationObservation_.reset();
    paletteObservation_.reset();
    ViewController::viewDidDisappear(animated);
}

void KSPalettedViewController::traitCollectionDidChange(const uikit::TraitCollection& previous) {
    ViewController::traitCollectionDidChange(previous);
    if (!applyingOwnInterfaceStyle_)
        checkForTraitChanged();
}

void KSPalettedViewController::applicationDidBecomeActive(const foundation::Notification&) {
    checkForTraitChanged();
    _paletteDidChangeInternal();
}

void KSPalettedViewController::checkForTraitChanged() {
    if (!observeTraitCollection_ || !isAtLeastIOS13())
        return;
    const bool light = traitCollection().userInterfaceStyle() == uikit::UserInterfaceStyle::light;
    if (light == KSPaletteManager::appleInterfaceStyleIsLight() && light == !isDarkMode())
        return;
    KSPaletteManager::setAppleInterfaceStyleIsLight(light);
    _paletteDidChangeInternal();
}

std::shared_ptr<uikit::View> KSPalettedViewController::findFakeStatusBar() const {
    auto navigation = navigationController();
    if (!navigation)
        return nullptr;
    for (const auto& subview : navigation->navigationBar()->subviews())
        if (subview->tag() == kFakeStatusBarTag)
            return subview;
    return nullptr;
}

void KSPalettedViewController::installFakeStatusBar() {
    auto navigation = navigationController();
    if (!navigation)
        return;
    fakeStatusBar_ = findFakeStatusBar();
    if (fakeStatusBar_)
        return;
    const auto& bar = navigation->navigationBar();
    auto strip = std::make_shared<uikit::View>(
        uikit::Rect{0, 0, view()->bounds().width(), kFakeStatusBarHeight});
    strip->setTag(kFakeStatusBarTag);
    bar->addSubview(strip);
    strip->setTranslatesAutoresizingMaskIntoConstraints(false);
    uikit::LayoutConstraint::activate({
        strip->heightAnchor().constraintEqualToConstant(kFakeStatusBarHeight),
        strip->bottomAnchor().constraintEqualTo(bar->topAnchor()),
        strip->leadingAnchor().constraintEqualTo(bar->leadingAnchor()),
        strip->trailingAnchor().constraintEqualTo(bar->trailingAnchor()),
    });
    // Without a constraint solver the strip goes where its constraints put it: right above
    // the bar, as wide as the bar.
    strip->setFrame({0, -kFakeStatusBarHeight, bar->bounds().width(), kFakeStatusBarHeight});
    fakeStatusBar_ = strip;
}

void KSPalettedViewController::_paletteDidChangeInternal() {
    std::lock_guard lock(rebuildMutex_);
    const std::uint64_t oldStyle = paletteStyle_;
    const std::uint64_t newStyle = KSPaletteManager::getActiveStyle();
    paletteWillChangeToStyle(newStyle);
    paletteStyle_ = newStyle;
    palette_ = KSPalette::paletteWithStyle(newStyle, overrideColors_);
    didLastPaletteChangeUpdateDarkmode_ = (oldStyle != KSPalette::kLight) != isDarkMode();
    _updateAppearanceInternal();
    if (palette_)
        paletteDidChange(*palette_);
    foundation::NotificationCenter::defaultCenter().post(KSPaletteNeedsUIRefreshNotification);
    setNeedsStatusBarAppearanceUpdate();
}

void KSPalettedViewController::_updateAppearanceInternal() {
    if (!palette_)
        return;
    const bool translucent = preference("UseTranslucentBars");
    setExtendedLayoutIncludesOpaqueBars(true);
    updateNavigationBar();
    updateTabBar(translucent);
    if (isAtLeastIOS13() && !preference("ObserveAppleDarkModeChanges")) {
        // The trait change this causes is the palette's own, not the system's: reporting it
        // back would start nested rebuilds in the middle of this one, and the hooks would see
        // the state of the last nested rebuild instead of this change.
        applyingOwnInterfaceStyle_ = true;
        setOverrideUserInterfaceStyle(KSPaletteManager::interfaceStyle());
        applyingOwnInterfaceStyle_ = false;
    }
    setNeedsStatusBarAppearanceUpdate();
}

void KSPalettedViewController::updateNavigationBar() {
    auto navigation = navigationController();
    if (!navigation)
        return;
    setNavigationBarColor(palette_->navBarColor());
    const auto& bar = navigation->navigationBar();
    bar->setTintColor(palette_->tintColor());
    uikit::TextAttributes attributes;
    attributes.foregroundColor = palette_->primaryTextColor();
    bar->setPrefersLargeTitles(!overrideLargeTitles_ && preference("prefersLargeTitles"));
    bar->setLargeTitleTextAttributes(attributes);
    bar->setTitleTextAttributes(attributes);
}

void KSPalettedViewController::updateTabBar(bool translucent) {
    auto tabs = tabBarController();
    if (!tabs)
        return;
    const auto& tabBar = tabs->tabBar();
    if (!barsFollowSystemAppearance())
        tabBar->setBarStyle(palette_->barStyle());
    tabBar->setBarTintColor(translucent ? std::nullopt
                                        : std::optional<uikit::Color>(palette_->barTintColor()));
    tabBar->setTranslucent(translucent);
}

void KSPalettedViewController::setNavigationBarColor(const uikit::Color& color) {
    useLegacyNavbarAppearance_ = true;
    auto navigation = navigationController();
    if (!navigation)
        return;
    const bool useTranslucent = !overrideTranslucentNavBar_ && preference("UseTranslucentBars");
    const bool clear = color.alpha() < std::numeric_limits<double>::min();
    const auto& bar = navigation->navigationBar();
    bar->setTranslucent(useTranslucent || clear);
    if (fakeStatusBar_) {
        fakeStatusBar_->setHidden(useTranslucent);
        fakeStatusBar_->setBackgroundColor(color);
    }
    if (palette_ && !barsFollowSystemAppearance())
        bar->setBarStyle(palette_->barStyle());
    if (useTranslucent && !clear) {
        bar->setBarTintColor(std::nullopt);
        bar->setBackgroundColor(std::nullopt);
        bar->setBackgroundImage(nullptr);
    } else {
        bar->setBackgroundImage(clear ? uikit::Image::empty() : imageWithColor(color));
        bar->setBarTintColor(std::nullopt);
        bar->setBackgroundColor(color);
    }
    bar->setShadowImage(uikit::Image::empty());
}

}  // namespace corvane
