#include "screens/packages/PackageScreenshotsNib.h"

#include "screens/packages/PackageScreenshotsViewController.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"

namespace corvane {

using uikit::Autoresizing;

void PackageScreenshotsNib::registerNib() {
    uikit::NibRegistry::shared().registerNib(PackageScreenshotsViewController::kNibName, &build);
}

std::shared_ptr<uikit::View> PackageScreenshotsNib::build(
    const std::shared_ptr<uikit::ViewController>& owner) {
    const auto flexible = Autoresizing::flexibleWidth | Autoresizing::flexibleHeight;
    auto root = std::make_shared<uikit::View>(uikit::Screen::main().bounds());
    root->setAutoresizingMask(flexible);
    auto layout = std::make_shared<uikit::CollectionViewFlowLayout>();
    layout->setScrollDirection(uikit::CollectionViewFlowLayout::ScrollDirection::horizontal);
    layout->setMinimumLineSpacing(0);
    layout->setMinimumInteritemSpacing(0);
    auto collection = std::make_shared<uikit::CollectionView>(root->bounds(), layout);
    collection->setAutoresizingMask(flexible);
    collection->setPagingEnabled(true);
    root->addSubview(collection);
    if (auto screen = std::dynamic_pointer_cast<PackageScreenshotsViewController>(owner))
        screen->screenshotsCollectionView = collection;
    return root;
}

}  // namespace corvane
