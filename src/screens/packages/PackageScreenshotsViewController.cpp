#include "screens/packages/PackageScreenshotsViewController.h"

#include "foundation/Localization.h"
#include "screens/packages/PackageScreenshotsNib.h"
#include "ui/cells/ScreenshotsCell.h"
#include "uikit/BarButtonItem.h"
#include "uikit/NavigationItem.h"

namespace corvane {

using uikit::CollectionView;
using uikit::IndexPath;

namespace {

const uikit::Color kCloseTint{0, 0.67, 0.88};

}  // namespace

PackageScreenshotsViewController::PackageScreenshotsViewController()
    : KSPalettedViewController(kNibName) {
    PackageScreenshotsNib::registerNib();
    ScreenshotsCell::registerNib();
}

void PackageScreenshotsViewController::setScreenshotsDictionary(
    const std::map<int, std::shared_ptr<uikit::Image>>& screenshots) {
    pages_.clear();
    for (const auto& [number, image] : screenshots)
        if (image)
            pages_.push_back(image);
    if (screenshotsCollectionView)
        screenshotsCollectionView->reloadData();
}

void PackageScreenshotsViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    setEdgesForExtendedLayout(uikit::RectEdge::none);
    setTitle(foundation::localized("Screenshots"));
    auto close = uikit::BarButtonItem::withTitle(
        foundation::localized("Close"), uikit::BarButtonItem::Style::plain,
        [weak = weak_from_this()](uikit::BarButtonItem&) {
            if (auto self = std::static_pointer_cast<PackageScreenshotsViewController>(weak.lock()))
                self->dismissVC();
        });
    close->setTintColor(kCloseTint);
    navigationItem()->setLeftBarButtonItem(close);
    auto self = std::static_pointer_cast<PackageScreenshotsViewController>(shared_from_this());
    screenshotsCollectionView->setDelegate(std::weak_ptr<uikit::CollectionViewDelegate>(self));
    screenshotsCollectionView->setDataSource(std::weak_ptr<uikit::CollectionViewDataSource>(self));
    screenshotsCollectionView->registerNib(ScreenshotsCell::kNibName, kReuseIdentifier);
    screenshotsCollectionView->setBackgroundColor(uikit::Color::clear());
}

void PackageScreenshotsViewController::paletteDidChange(const KSPalette& palette) {
    view()->setBackgroundColor(palette.backgroundColor());
}

void PackageScreenshotsViewController::dismissVC() {
    dismiss(true);
}

int PackageScreenshotsViewController::numberOfItemsInSection(CollectionView&, int) {
    return static_cast<int>(pages_.size());
}

std::shared_ptr<uikit::CollectionViewCell> PackageScreenshotsViewController::cellForItemAtIndexPath(
    CollectionView& collectionView, const IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<ScreenshotsCell>(
        collectionView.dequeueReusableCell(kReuseIdentifier, indexPath));
    const auto item = static_cast<std::size_t>(indexPath.item());
    if (!cell || item >= pages_.size())
        return cell;
    cell->setBackgroundColor(uikit::Color::clear());
    cell->screenshotImageView->setImage(pages_[item]);
    cell->screenshotImageView->setContentMode(uikit::ContentMode::scaleAspectFit);
    return cell;
}

std::optional<uikit::Size> PackageScreenshotsViewController::sizeForItemAtIndexPath(
    CollectionView& collectionView, const IndexPath&) {
    return collectionView.frame().size;
}

}  // namespace corvane
