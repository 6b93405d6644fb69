#include "screens/developers/ContactDeveloperNib.h"

#include "foundation/Localization.h"
#include "screens/developers/ContactDeveloperViewController.h"
#include "screens/developers/KSProfileViews.h"
#include "uikit/NibRegistry.h"

namespace corvane {

using foundation::localized;

void ContactDeveloperNib::registerNib() {
    uikit::NibRegistry::shared().registerNib(ContactDeveloperViewController::kNibName, &build);
}

std::shared_ptr<uikit::View> ContactDeveloperNib::build(
    const std::shared_ptr<uikit::ViewController>& owner) {
    auto views = KSProfileViews::build(
        {localized("Send an Email"), localized("Twitter"), localized("Donate")});
    if (auto contact = std::dynamic_pointer_cast<ContactDeveloperViewController>(owner)) {
        contact->developerIconView = views.avatar;
        contact->developerNameLbl = views.nameLbl;
        contact->packageNameLbl = views.detailLbl;
        contact->emailBtn = views.buttons[0];
        contact->twitterBtn = views.buttons[1];
        contact->donateBtn = views.buttons[2];
    }
    return views.root;
}

}  // namespace corvane
