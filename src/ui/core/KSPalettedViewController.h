#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "foundation/Notification.h"
#include "foundation/ObservationToken.h"
#include "ui/palette/KSPalette.h"
#include "uikit/Color.h"
#include "uikit/View.h"
#include "uikit/ViewController.h"

namespace corvane {

// Posted after every palette rebuild of a screen (default centre, object nil).
inline constexpr const char* KSPaletteNeedsUIRefreshNotification =
    "KSPaletteNeedsUIRefreshNotification";

// The base of nearly every screen. Each screen keeps its own palette (the active style with the
// screen's colour overrides), rebuilds it whenever the style may have changed while it is on
// screen, and colours the navigation bar, tab bar and status bar from it. Subclasses set their
// overrides in paletteWillChangeToStyle and recolour their own views in paletteDidChange, and
// nowhere else.
//
// The first rebuild runs inside viewDidLoad, before a subclass's own viewDidLoad builds its
// views, so paletteDidChange must accept views that do not exist yet; it runs again at every
// appearance.
class KSPalettedViewController : public uikit::ViewController {
  public:
    // The strip behind the status bar, shared by all screens of one navigation bar.
    static constexpr int kFakeStatusBarTag = 41054834;
    static constexpr double kFakeStatusBarHeight = 44;

    using uikit::ViewController::ViewController;

    // Palette property name to colour; applied at every rebuild.
    KSPalette::Overrides& overrideColors() { return overrideColors_; }
    // A null colour removes the override. Only the names a palette lets override have an effect.
    void setOverrideColor(std::optional<uikit::Color> color, const std::string& keyPath);
    std::optional<uikit::Color> overrideColorForKeyPath(const std::string& keyPath) const;
    void resetOverridesColors();

    const std::shared_ptr<uikit::View>& fakeStatusBar() const { return fakeStatusBar_; }
    // Follow the system appearance (set in viewDidLoad on iOS 13 and later).
    bool observeTraitCollection() const { return observeTraitCollection_; }
    void setObserveTraitCollection(bool on) { observeTraitCollection_ = on; }
    // This screen never shows large titles.
    bool overrideLargeTitles() const { return overrideLargeTitles_; }
    void setOverrideLargeTitles(bool on) { overrideLargeTitles_ = on; }
    // This screen's navigation bar is opaque whatever UseTranslucentBars says.
    bool overrideTranslucentNavBar() const { return overrideTranslucentNavBar_; }
    void setOverrideTranslucentNavBar(bool on) { overrideTranslucentNavBar_ = on; }
    // Set by setNavigationBarColor; a screen that colours its bar its own way clears it.
    bool useLegacyNavbarAppearance() const { return useLegacyNavbarAppearance_; }
    void setUseLegacyNavbarAppearance(bool on) { useLegacyNavbarAppearance_ = on; }

    // Nothing until the first rebuild.
    const std::optional<KSPalette>& palette() const { return palette_; }
    std::uint64_t paletteStyle() const { return paletteStyle_; }
    // The application-wide state, not this screen's paletteStyle.
    bool isDarkMode() const;
    // The last rebuild crossed between Light and a dark style.
    bool didLastPaletteChangeUpdateDarkmode() const { return didLastPaletteChangeUpdateDarkmode_; }

    // Follows the system appearance: tells the palette manager when it differs from what the
    // manager last heard, then rebuilds.
    void checkForTraitChanged();
    void setNavigationBarColor(const uikit::Color& color);
    uikit::StatusBarStyle preferredStatusBarStyle() const override;

  protected:
    // Before the new palette is built: set or clear overrides here to have them in this rebuild.
    virtual void paletteWillChangeToStyle(std::uint64_t style) {}
    // After the bars are coloured: recolour this screen's views.
    virtual void paletteDidChange(const KSPalette& palette) {}

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    void traitCollectionDidChange(const uikit::TraitCollection& previous) override;

  private:
    void applicationDidBecomeActive(const foundation::Notification& notification);
    void installFakeStatusBar();
    std::shared_ptr<uikit::View> findFakeStatusBar() const;
    // The rebuild and the bar colouring; subclasses use the hooks instead.
    void _paletteDidChangeInternal();
    void _updateAppearanceInternal();
    void updateNavigationBar();
    void updateTabBar(bool translucent);

    KSPalette::Overrides overrideColors_;
    std::shared_ptr<uikit::View> fakeStatusBar_;
    bool observeTraitCollection_ = false;
    bool overrideLargeTitles_ = false;
    bool overrideTranslucentNavBar_ = false;
    bool useLegacyNavbarAppearance_ = false;
    std::optional<KSPalette> palette_;
    std::uint64_t paletteStyle_ = KSPalette::kLight;
    bool didLastPaletteChangeUpdateDarkmode_ = false;
    bool applyingOwnInterfaceStyle_ = false;

    // A hook may start another rebuild of the same screen.
    std::recursive_mutex rebuildMutex_;
    // Only the base screen's own observations: a subclass's stay when the screen is covered.
    foundation::ObservationToken paletteObservation_;
    foundation::ObservationToken activationObservation_;
};

}  // namespace corvane
