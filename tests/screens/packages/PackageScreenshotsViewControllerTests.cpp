// The screenshots pager as the package page presents it, with the images the page loaded.
#include "screens/packages/PackageScreenshotsViewController.h"

#include <gtest/gtest.h>

#include "screens/PageScreenFixture.h"
#include "support/Pixels.h"
#include "ui/cells/ScreenshotsCell.h"
#include "uikit/Hands.h"
#include "uikit/InterfaceHands.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::colorAt;
using testing_support::near;
using uikit::Color;
using uikit::IndexPath;

class PackageScreenshotsTest : public PageScreenFixture {
  protected:
    std::shared_ptr<PackageScreenshotsViewController> open(
        std::map<int, std::shared_ptr<uikit::Image>> screenshots) {
        KSScreenFactory::Request request;
        request.screenshotsDictionary = std::move(screenshots);
        return presentInNavigation<PackageScreenshotsViewController>(Screen::screenshots, request);
    }
    static std::shared_ptr<uikit::Image> screenshot(const Color& color) {
        return uikit::Image::withColor(color, {300, 500});
    }
    static std::shared_ptr<ScreenshotsCell> page(PackageScreenshotsViewController& pager,
                                                 int index) {
        return std::dynamic_pointer_cast<ScreenshotsCell>(
            pager.screenshotsCollectionView->cellForItemAtIndexPath(IndexPath::forItem(index, 0)));
    }
};

TEST_F(PackageScreenshotsTest, EachStoredImageIsOnePageInNumberOrder) {
    const auto first = screenshot(Color(1, 0, 0));
    const auto third = screenshot(Color(0, 0, 1));
    auto pager = open({{3, third}, {1, first}});
    ASSERT_TRUE(pager);
    EXPECT_EQ(pager->title(), "Screenshots");
    auto& collection = pager->screenshotsCollectionView;
    ASSERT_EQ(collection->numberOfItemsInSection(0), 2);
    auto shown = page(*pager, 0);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->screenshotImageView->image(), first);
    EXPECT_EQ(shown->screenshotImageView->contentMode(), uikit::ContentMode::scaleAspectFit);
    EXPECT_EQ(shown->frame().size, collection->frame().size);
    EXPECT_TRUE(collection->isPagingEnabled());

    const auto middle = collection->convertPointTo(collection->bounds().center(), window.get());
    EXPECT_TRUE(near(colorAt(*snapshot("screenshots-first"), middle.x, middle.y), Color(1, 0, 0)));
    uikit::hands::scrollTo(*collection, {collection->bounds().width(), 0});
    auto second = page(*pager, 1);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->screenshotImageView->image(), third);
    EXPECT_TRUE(near(colorAt(*snapshot("screenshots-second"), middle.x, middle.y), Color(0, 0, 1)));
}

TEST_F(PackageScreenshotsTest, PagesFollowTheSizeOfTheCollection) {
    auto pager = open({{1, screenshot(Color(1, 0, 0))}, {2, screenshot(Color(0, 1, 0))}});
    ASSERT_TRUE(pager);
    pager->view()->setFrame({0, 0, 320, 400});
    pager->view()->layoutIfNeeded();
    auto shown = page(*pager, 0);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->frame().size, pager->screenshotsCollectionView->frame().size);
    EXPECT_EQ(shown->frame().width(), 320);
}

TEST_F(PackageScreenshotsTest, CloseDismissesThePager) {
    auto pager = open({});
    ASSERT_TRUE(pager);
    EXPECT_EQ(pager->screenshotsCollectionView->numberOfItemsInSection(0), 0);
    auto close = pager->navigationItem()->leftBarButtonItem();
    ASSERT_TRUE(close);
    EXPECT_EQ(close->title(), "Close");
    EXPECT_EQ(close->tintColor(), Color(0, 0.67, 0.88));
    ASSERT_TRUE(uikit::hands::tapBarButton(close));
    advanceClock(1);
    EXPECT_EQ(navigation->presentedViewController(), nullptr);
}

}  // namespace
}  // namespace corvane::testing
