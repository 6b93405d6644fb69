#include "screens/packages/PackageCollections.h"

#include <algorithm>

#include "screens/packages/PackageActions.h"
#include "screens/packages/PackageDetailsViewController.h"
#include "screens/packages/PackageInformation.h"
#include "screens/packages/PackageReviews.h"
#include "screens/packages/PackageSnapshot.h"
#include "ui/cells/DeveloperCell.h"
#include "ui/cells/ReviewsCell.h"
#include "ui/cells/ScreenshotsCell.h"
#include "uikit/Device.h"
#include "uikit/Screen.h"
#include "uikit/Window.h"

namespace corvane {

namespace {

using Page = PackageDetailsViewController;

// The strip's image of the item: a screenshot by its number, the pair by position.
std::shared_ptr<uikit::Image> imageOf(Page& page, uikit::CollectionView& collectionView, int item) {
    if (&collectionView == page.beforeAfterCollectionView.get()) {
        auto found = page.beforeAfterScreenshotsDictionary.find(item == 0 ? "before" : "after");
        return found == page.beforeAfterScreenshotsDictionary.end() ? nullptr : found->second;
    }
    auto found = page.screenshotsDictionary.find(item + 1);
    return found == page.screenshotsDictionary.end() ? nullptr : found->second;
}

double windowWidth(Page& page) {
    auto window = page.view()->window();
    return window ? window->bounds().width() : uikit::Screen::main().bounds().width();
}

}  // namespace

uikit::Size PackageCollections::screenshotSize(uikit::Size image, double targetHeight, bool alone,
                                               double pageWidth) {
    if (image.height <= 0)
        return {alone ? pageWidth - 32 : 0, 0};
    // A taller image is scaled down to the strip; a smaller one keeps its own size, never
    // narrowed out of shape.
    const double scale = image.height > targetHeight ? targetHeight / image.height : 1;
    return {alone ? pageWidth - 32 : image.width * scale, image.height * scale};
}

int PackageCollections::numberOfItemsInSection(uikit::CollectionView& collectionView, int) {
    auto page = page_.lock();
    if (!page)
        return 0;
    if (&collectionView == page->screenshotsCollectionView.get())
        return static_cast<int>(page->screenshotsDictionary.size());
    if (&collectionView == page->beforeAfterCollectionView.get())
        return static_cast<int>(page->beforeAfterScreenshotsDictionary.size());
    if (&collectionView == page->reviewsCollectionView.get())
        return std::min<int>(1, static_cast<int>(page->packageReviews.size()));
    return 1;
}

std::shared_ptr<uikit::CollectionViewCell> PackageCollections::cellForItemAtIndexPath(
    uikit::CollectionView& collectionView, const uikit::IndexPath& indexPath) {
    auto page = page_.lock();
    if (!page)
        return collectionView.dequeueReusableCell("cell", indexPath);
    if (&collectionView == page->authorCollectionView.get())
        return authorCell(*page, collectionView, indexPath);
    if (&collectionView == page->reviewsCollectionView.get())
        return reviewCell(*page, collectionView, indexPath);
    return screenshotCell(collectionView, indexPath,
                          imageOf(*page, collectionView, indexPath.item()));
}

std::shared_ptr<uikit::CollectionViewCell> PackageCollections::screenshotCell(
    uikit::CollectionView& collectionView, const uikit::IndexPath& indexPath,
    std::shared_ptr<uikit::Image> image) {
    auto cell = collectionView.dequeueReusableCell("cell", indexPath);
    cell->setBackgroundColor(uikit::Color::clear());
    if (auto screenshot = std::dynamic_pointer_cast<ScreenshotsCell>(cell)) {
        screenshot->screenshotImageView->setImage(std::move(image));
        screenshot->screenshotImageView->setContentMode(uikit::ContentMode::scaleAspectFit);
    }
    return cell;
}

std::shared_ptr<uikit::CollectionViewCell> PackageCollections::authorCell(
    Page& page, uikit::CollectionView& collectionView, const uikit::IndexPath& indexPath) {
    auto cell = collectionView.dequeueReusableCell("cell", indexPath);
    cell->setBackgroundColor(uikit::Color::clear());
    if (auto author = std::dynamic_pointer_cast<DeveloperCell>(cell)) {
        author->developerIconView->setImage(page.authorAvatar);
        author->developerIconView->setClipsToBounds(true);
        author->developerIconView->layer().setCornerRadius(
            author->developerIconView->frame().height() * 0.2237);
        author->developerNameLbl->setText(
            PackageInformation::developerName(page.packageDictionary(), page.sourceDictionary()));
        if (page.palette())
            author->developerNameLbl->setTextColor(page.palette()->primaryTextColor());
    }
    return cell;
}

std::shared_ptr<uikit::CollectionViewCell> PackageCollections::reviewCell(
    Page& page, uikit::CollectionView& collectionView, const uikit::IndexPath& indexPath) {
    auto cell = collectionView.dequeueReusableCell("cell", indexPath);
    auto review = std::dynamic_pointer_cast<ReviewsCell>(cell);
    if (review && !page.packageReviews.empty())
        PackageReviews::fillCell(*review, page.packageReviews.front(),
                                 PackageSnapshot::text(page.packageDictionary(), "maintainer"),
                                 page.palette());
    return cell;
}

void PackageCollections::didSelectItemAtIndexPath(uikit::CollectionView& collectionView,
                                                  const uikit::IndexPath& indexPath) {
    auto page = page_.lock();
    if (!page)
        return;
    if (&collectionView == page->screenshotsCollectionView.get()) {
        PackageActions::showScreenshots(*page);
    } else if (&collectionView == page->beforeAfterCollectionView.get()) {
        collectionView.layoutIfNeeded();
        collectionView.scrollToItem(uikit::IndexPath::forItem(indexPath.item() == 0 ? 1 : 0, 0),
                                    uikit::CollectionViewScrollPosition::centeredHorizontally,
                                    false);
    } else if (&collectionView == page->authorCollectionView.get()) {
        PackageActions::showAuthor(*page);
    } else if (&collectionView == page->reviewsCollectionView.get()) {
        PackageActions::seeAllReviews(*page);
    }
}

std::optional<uikit::Size> PackageCollections::sizeForItemAtIndexPath(
    uikit::CollectionView& collectionView, const uikit::IndexPath& indexPath) {
    auto page = page_.lock();
    if (!page)
        return std::nullopt;
    const double pageWidth = page->view()->bounds().width();
    if (&collectionView == page->screenshotsCollectionView.get()) {
        auto image = imageOf(*page, collectionView, indexPath.item());
        const bool pad =
            uikit::Device::current().userInterfaceIdiom() == uikit::UserInterfaceIdiom::pad;
        return screenshotSize(image ? image->size() : uikit::Size{},
                              pad ? kPadScreenshotHeight : kPhoneScreenshotHeight,
                              page->screenshotsDictionary.size() == 1, pageWidth);
    }
    if (&collectionView == page->beforeAfterCollectionView.get())
        return uikit::Size{pageWidth - 32, 441};
    if (&collectionView == page->authorCollectionView.get())
        return uikit::Size{windowWidth(*page), kAuthorHeight};
    if (&collectionView == page->reviewsCollectionView.get())
        return uikit::Size{collectionView.bounds().width(), kReviewHeight};
    return uikit::Size{windowWidth(*page), 60};
}

std::optional<double> PackageCollections::minimumLineSpacingForSectionAtIndex(
    uikit::CollectionView& collectionView, int) {
    auto page = page_.lock();
    return page && &collectionView == page->beforeAfterCollectionView.get() ? 0 : kLineSpacing;
}

}  // namespace corvane
