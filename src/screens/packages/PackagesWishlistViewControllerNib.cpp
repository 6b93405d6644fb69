#include "screens/packages/PackagesWishlistViewControllerNib.h"

#include <mutex>

#include "screens/packages/KSPackageTableNib.h"
#include "screens/packages/PackagesWishlistViewController.h"
#include "uikit/NibRegistry.h"

namespace corvane {

void PackagesWishlistViewControllerNib::registerNib() {
    static std::once_flag once;
    std::call_once(once, [] {
        uikit::NibRegistry::shared().registerNib(PackagesWishlistViewController::kNibName, &build);
    });
}

std::shared_ptr<uikit::View> PackagesWishlistViewControllerNib::build(
    const std::shared_ptr<uikit::ViewController>& owner) {
    auto nib = KSPackageTableNib::make();
    if (auto wishlist = std::dynamic_pointer_cast<PackagesWishlistViewController>(owner)) {
        wishlist->wishlistTableView = nib.table;
        wishlist->tasksProgressBar = nib.progressBar;
    }
    return nib.root;
}

}  // namespace corvane
