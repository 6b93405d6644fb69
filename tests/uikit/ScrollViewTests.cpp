#include "uikit/ScrollView.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/MainLoop.h"
#include "uikit/Hands.h"

namespace {

using namespace uikit;
using testing_support::advanceClock;

struct Recorder : ScrollViewDelegate {
    std::vector<std::string> calls;
    std::optional<Point> snapTo;
    void scrollViewDidScroll(ScrollView& s) override {
        calls.push_back("scroll " + std::to_string(std::lround(s.contentOffset().y)));
    }
    void scrollViewWillBeginDragging(ScrollView&) override { calls.push_back("begin"); }
    void scrollViewWillEndDragging(ScrollView&, Point velocity, Point& target) override {
        calls.push_back("will end " + std::to_string(std::lround(target.y)));
        if (snapTo)
            target = *snapTo;
    }
    void scrollViewDidEndDragging(ScrollView&, bool decelerate) override {
        calls.push_back(decelerate ? "end, decelerating" : "end");
    }
    void scrollViewDidEndDecelerating(ScrollView&) override { calls.push_back("stopped"); }
};

std::shared_ptr<ScrollView> scrollView() {
    auto view = std::make_shared<ScrollView>(Rect{0, 0, 320, 400});
    view->setContentSize({320, 2000});
    return view;
}

TEST(ScrollView, OffsetIsObservableAndMayGoNegative) {
    auto view = scrollView();
    std::vector<Point> seen;
    auto token = view->observeContentOffset([&](const Point& p) { seen.push_back(p); });
    view->setContentOffset({0, -120});
    EXPECT_EQ(view->contentOffset(), (Point{0, -120}));
    EXPECT_EQ(view->bounds().origin, (Point{0, -120}));
    view->setContentOffset({0, -120});
    token.reset();
    view->setContentOffset({0, 50});
    EXPECT_EQ(seen, std::vector<Point>{(Point{0, -120})});
}

TEST(ScrollView, DragAndReleaseWithoutDeceleration) {
    auto view = scrollView();
    auto recorder = std::make_shared<Recorder>();
    view->setDelegate(recorder);
    hands::scrollTo(*view, {0, 300});
    EXPECT_EQ(recorder->calls,
              (std::vector<std::string>{"begin", "scroll 300", "will end 300", "end"}));
    EXPECT_FALSE(view->isDragging());
    EXPECT_FALSE(view->isDecelerating());
}

TEST(ScrollView, AFlingDeceleratesToWhereTheDelegateSays) {
    auto view = scrollView();
    auto recorder = std::make_shared<Recorder>();
    recorder->snapTo = Point{0, 800};
    view->setDelegate(recorder);
    view->beginDragging();
    view->dragTo({0, 100});
    view->endDragging({0, 1.0});
    EXPECT_TRUE(view->isDecelerating());
    EXPECT_EQ(view->contentOffset(), (Point{0, 800}));
    advanceClock(ScrollView::kScrollAnimationDuration - 0.05);
    EXPECT_TRUE(view->isDecelerating());
    advanceClock(0.1);
    EXPECT_FALSE(view->isDecelerating());
    EXPECT_EQ(recorder->calls,
              (std::vector<std::string>{"begin", "scroll 100", "will end 599", "end, decelerating",
                                        "scroll 800", "stopped"}));
}

TEST(ScrollView, ProjectionStaysInsideTheContentAndPagesSnap) {
    auto view = scrollView();
    hands::fling(*view, {0, 1500}, {0, 10});
    EXPECT_EQ(view->contentOffset(), (Point{0, 1600}));
    view->setContentInset({64, 0, 0, 0});
    hands::fling(*view, {0, 10}, {0, -10});
    EXPECT_EQ(view->contentOffset(), (Point{0, -64}));

    view->setPagingEnabled(true);
    hands::fling(*view, {0, 450}, {0, 0.5});
    EXPECT_EQ(view->contentOffset(), (Point{0, 800}));

    // A drag that starts while decelerating stops the deceleration at once.
    auto recorder = std::make_shared<Recorder>();
    view->setDelegate(recorder);
    view->beginDragging();
    view->dragTo({0, 100});
    view->endDragging({0, 2});
    view->beginDragging();
    advanceClock(1);
    EXPECT_EQ(std::count(recorder->calls.begin(), recorder->calls.end(), "stopped"), 0);
}

}  // namespace
