#include "screens/developers/DeveloperDetailsNib.h"

#include "foundation/Localization.h"
#include "screens/developers/DeveloperDetailsViewController.h"
#include "screens/developers/KSProfileViews.h"
#include "uikit/NibRegistry.h"

namespace corvane {

using foundation::localized;

void DeveloperDetailsNib::registerNib() {
    uikit::NibRegistry::shared().registerNib(DeveloperDetailsViewController::kNibName, &build);
}

// The packages button is titled with the developer's name once it is known.
std::shared_ptr<uikit::View> DeveloperDetailsNib::build(
    const std::shared_ptr<uikit::ViewController>& owner) {
    auto views = KSProfileViews::build({"", localized("Website"), localized("Twitter")});
    if (auto developer = std::dynamic_pointer_cast<DeveloperDetailsViewController>(owner)) {
        developer->avatarView = views.avatar;
        developer->nameLbl = views.nameLbl;
        developer->bioLbl = views.detailLbl;
        developer->packagesBtn = views.buttons[0];
        developer->websiteBtn = views.buttons[1];
        developer->twitterBtn = views.buttons[2];
    }
    return views.root;
}

}  // namespace corvane
