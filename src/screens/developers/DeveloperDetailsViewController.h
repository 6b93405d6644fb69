#pragma once

#include <memory>
#include <optional>
#include <string>

#include "framework/webservice/KSDeveloperProfile.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/Button.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"

namespace corvane {

// A developer as the maker's service knows them: picture, name and words about themselves, the
// way to their packages in the store, and their website and Twitter page when those are web
// addresses. Presented on its own, it carries a "Close" button.
class DeveloperDetailsViewController : public KSPalettedViewController {
  public:
    static constexpr const char* kNibName = "DeveloperDetailsViewController";

    DeveloperDetailsViewController();

    const std::optional<KSDeveloperProfile>& developerProfile() const { return developerProfile_; }
    void setDeveloperProfile(std::optional<KSDeveloperProfile> profile) {
        developerProfile_ = std::move(profile);
    }
    bool isShownModally() const { return isShownModally_; }
    void setIsShownModally(bool modally) { isShownModally_ = modally; }

    void seeAllDevPackages();
    void openWebsite();
    void openTwitter();
    void dismissVC();

    // Outlets, set by the nib.
    std::shared_ptr<uikit::ImageView> avatarView;
    std::shared_ptr<uikit::Label> nameLbl;
    std::shared_ptr<uikit::Label> bioLbl;
    std::shared_ptr<uikit::Button> packagesBtn;
    std::shared_ptr<uikit::Button> websiteBtn;
    std::shared_ptr<uikit::Button> twitterBtn;

  protected:
    void viewDidLoad() override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    void showProfile(const KSDeveloperProfile& profile);
    std::shared_ptr<DeveloperDetailsViewController> self();
    void addCloseButton();
    void loadAvatar();

    std::optional<KSDeveloperProfile> developerProfile_;
    bool isShownModally_ = false;
};

}  // namespace corvane
