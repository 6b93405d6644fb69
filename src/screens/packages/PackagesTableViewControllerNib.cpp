#include "screens/packages/PackagesTableViewControllerNib.h"

#include <mutex>

#include "screens/packages/KSPackageTableNib.h"
#include "screens/packages/PackagesTableViewController.h"
#include "uikit/NibRegistry.h"

namespace corvane {

void PackagesTableViewControllerNib::registerNib() {
    static std::once_flag once;
    std::call_once(once, [] {
        uikit::NibRegistry::shared().registerNib(PackagesTableViewController::kNibName, &build);
    });
}

std::shared_ptr<uikit::View> PackagesTableViewControllerNib::build(
    const std::shared_ptr<uikit::ViewController>& owner) {
    auto nib = KSPackageTableNib::make();
    if (auto list = std::dynamic_pointer_cast<PackagesTableViewController>(owner)) {
        list->packagesTableView = nib.table;
        list->tasksProgressBar = nib.progressBar;
    }
    return nib.root;
}

}  // namespace corvane
