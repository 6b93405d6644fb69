// A screenshot pager and a strip of items, driven as a person would.
#include <gtest/gtest.h>

#include "support/MainLoop.h"
#include "uikit/CollectionView.h"
#include "uikit/Hands.h"
#include "uikit/ImageView.h"
#include "uikit/InterfaceHands.h"
#include "uikit/Window.h"

namespace {

using namespace uikit;
using testing_support::advanceClock;

class ScreenshotCell : public CollectionViewCell {
  public:
    ScreenshotCell() { contentView()->addSubview(screenshotImageView); }
    std::shared_ptr<ImageView> screenshotImageView = std::make_shared<ImageView>();
    int reuses = 0;
    void prepareForReuse() override {
        CollectionViewCell::prepareForReuse();
        ++reuses;
    }
};

class Screenshots : public CollectionViewDataSource, public CollectionViewDelegate {
  public:
    int count = 5;
    std::vector<int> selected;
    int countQueries = 0;

    int numberOfItemsInSection(CollectionView&, int) override {
        ++countQueries;
        return count;
    }
    std::shared_ptr<CollectionViewCell> cellForItemAtIndexPath(
        CollectionView& view, const IndexPath& indexPath) override {
        auto cell =
            std::static_pointer_cast<ScreenshotCell>(view.dequeueReusableCell("cell", indexPath));
        cell->screenshotImageView->setImage(Image::withColor(Color::white(), {10, 10}));
        cell->setTag(indexPath.item());
        return cell;
    }
    std::optional<Size> sizeForItemAtIndexPath(CollectionView& view, const IndexPath&) override {
        return view.frame().size;
    }
    std::optional<double> minimumLineSpacingForSectionAtIndex(CollectionView&, int) override {
        return 0;
    }
    void didSelectItemAtIndexPath(CollectionView&, const IndexPath& indexPath) override {
        selected.push_back(indexPath.item());
    }
};

class CollectionViewTest : public ::testing::Test {
  protected:
    std::shared_ptr<Window> window = std::make_shared<Window>();
    std::shared_ptr<CollectionViewFlowLayout> layout = std::make_shared<CollectionViewFlowLayout>();
    std::shared_ptr<CollectionView> pager;
    std::shared_ptr<Screenshots> screenshots = std::make_shared<Screenshots>();

    void SetUp() override {
        layout->setScrollDirection(CollectionViewFlowLayout::ScrollDirection::horizontal);
        pager = std::make_shared<CollectionView>(Rect{0, 0, 375, 600}, layout);
        pager->setPagingEnabled(true);
        pager->registerCell("cell", [] { return std::make_shared<ScreenshotCell>(); });
        pager->setDataSource(screenshots);
        pager->setDelegate(screenshots);
        auto root = std::make_shared<ViewController>();
        root->view()->addSubview(pager);
        window->setRootViewController(root);
        window->makeKeyAndVisible();
    }
    std::vector<int> visibleTags() {
        std::vector<int> tags;
        for (auto& cell : pager->visibleCells())
            tags.push_back(cell->tag());
        return tags;
    }
};

TEST_F(CollectionViewTest, PagesSitSideBySideAndOnlyTheOneInSightHasACell) {
    EXPECT_EQ(screenshots->countQueries, 0) << "asked at the next layout";
    advanceClock(0);
    EXPECT_EQ(screenshots->countQueries, 1);
    EXPECT_EQ(pager->contentSize(), (Size{375 * 5, 600}));
    EXPECT_EQ(visibleTags(), (std::vector<int>{0}));
    EXPECT_EQ(pager->cellForItemAtIndexPath({0, 2}), nullptr);

    hands::fling(*pager, {200, 0}, {2, 0});
    EXPECT_EQ(pager->contentOffset().x, 375) << "paging rests on a page boundary";
    EXPECT_EQ(visibleTags(), (std::vector<int>{1}));
}

TEST_F(CollectionViewTest, ScrollingToAnItemCentresItAndReusesTheCellsThatLeft) {
    auto first = std::static_pointer_cast<ScreenshotCell>(pager->cellForItemAtIndexPath({0, 0}));
    ASSERT_TRUE(first);
    pager->scrollToItem({0, 3}, CollectionViewScrollPosition::centeredHorizontally, false);
    EXPECT_EQ(pager->contentOffset().x, 375 * 3);
    EXPECT_EQ(pager->indexPathsForVisibleItems(), (std::vector<IndexPath>{{0, 3}}));
    EXPECT_EQ(pager->cellForItemAtIndexPath({0, 3}), first);
    EXPECT_EQ(first->reuses, 1);

    pager->scrollToItem({0, 4}, CollectionViewScrollPosition::centeredHorizontally, false);
    EXPECT_EQ(pager->contentOffset().x, 375 * 4) << "the last page cannot go past the end";
}

TEST_F(CollectionViewTest, ATapOnAnItemSelectsIt) {
    pager->scrollToItem({0, 2}, CollectionViewScrollPosition::centeredHorizontally, false);
    EXPECT_TRUE(hands::selectItem(pager, {0, 2}));
    EXPECT_EQ(screenshots->selected, (std::vector<int>{2}));
    EXPECT_EQ(pager->indexPathForSelectedItem(), (IndexPath{0, 2}));
    EXPECT_TRUE(hands::selectItem(pager, {0, 0})) << "scrolled into sight first";
    EXPECT_EQ(screenshots->selected, (std::vector<int>{2, 0}));
}

TEST(CollectionViewFlowLayoutTest, VerticalFlowWrapsLinesInsideTheInsets) {
    auto layout = std::make_shared<CollectionViewFlowLayout>();
    layout->setItemSize({100, 50});
    layout->setSectionInset({10, 10, 10, 10});
    layout->setMinimumLineSpacing(5);
    layout->setMinimumInteritemSpacing(20);
    auto view = std::make_shared<CollectionView>(Rect{0, 0, 250, 400}, layout);
    struct Items : CollectionViewDataSource {
        int numberOfItemsInSection(CollectionView&, int) override { return 5; }
        std::shared_ptr<CollectionViewCell> cellForItemAtIndexPath(CollectionView&,
                                                                   const IndexPath&) override {
            return std::make_shared<CollectionViewCell>();
        }
    };
    auto items = std::make_shared<Items>();
    view->setDataSource(items);
    view->layoutIfNeeded();
    EXPECT_EQ(view->cellForItemAtIndexPath({0, 1})->frame(), (Rect{130, 10, 100, 50}));
    EXPECT_EQ(view->cellForItemAtIndexPath({0, 2})->frame(), (Rect{10, 65, 100, 50}));
    EXPECT_EQ(view->contentSize(), (Size{250, 10 + 50 + 5 + 50 + 5 + 50 + 10}));
}

}  // namespace
