#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/URL.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/Button.h"
#include "uikit/Image.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"

namespace corvane {

// The author of a package and the ways to reach them: a mail about the package, their Twitter
// page and their donation page. A way the package gives no usable address for is not offered:
// mail goes only to a plain address, and only web addresses open, in the in-app browser.
class ContactDeveloperViewController : public KSPalettedViewController {
  public:
    static constexpr const char* kNibName = "ContactDeveloperViewController";

    ContactDeveloperViewController();

    void setDeveloperAvatar(std::shared_ptr<uikit::Image> avatar) {
        developerAvatar_ = std::move(avatar);
    }
    void setDeveloperName(std::optional<std::string> name) { developerName_ = std::move(name); }
    void setEmail(std::optional<std::string> email) { email_ = std::move(email); }
    void setPackageName(std::optional<std::string> name) { packageName_ = std::move(name); }
    void setTwitter(std::optional<foundation::URL> twitter) { twitter_ = std::move(twitter); }
    void setDonateLink(std::optional<foundation::URL> link) { donateLink_ = std::move(link); }

    void sendEmail();
    void openTwitter();
    void donate();

    // Outlets, set by the nib.
    std::shared_ptr<uikit::ImageView> developerIconView;
    std::shared_ptr<uikit::Label> developerNameLbl;
    std::shared_ptr<uikit::Label> packageNameLbl;
    std::shared_ptr<uikit::Button> emailBtn;
    std::shared_ptr<uikit::Button> twitterBtn;
    std::shared_ptr<uikit::Button> donateBtn;

  protected:
    void viewDidLoad() override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    std::shared_ptr<ContactDeveloperViewController> self();
    std::string developerName() const;

    std::shared_ptr<uikit::Image> developerAvatar_;
    std::optional<std::string> developerName_;
    std::optional<std::string> email_;
    std::optional<std::string> packageName_;
    std::optional<foundation::URL> twitter_;
    std::optional<foundation::URL> donateLink_;
};

}  // namespace corvane
