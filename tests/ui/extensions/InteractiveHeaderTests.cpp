// The stretchy header of a scroll view and the navigation bar that fades with it, driven by
// scrolling as a finger does.
#include <gtest/gtest.h>

#include <cmath>

#include "support/MainLoop.h"
#include "ui/extensions/NavigationBarInteractiveHeader.h"
#include "ui/extensions/ScrollViewInteractiveHeader.h"

namespace corvane {
namespace {

using testing_support::advanceClock;
using uikit::Color;
using uikit::EdgeInsets;
using uikit::Point;
using uikit::ScrollView;

class InteractiveHeaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        scrollView->setSafeAreaInsets(EdgeInsets{20, 0, 34, 0});
        scrollView->setContentSize({375, 2000});
    }

    std::shared_ptr<InteractiveHeaderImageView> addHeader(double height) {
        auto header = ScrollViewInteractiveHeader::addHeaderWithImage(
            scrollView, uikit::Image::withColor(Color::systemBlue(), {10, 10}), height);
        header->titleLabel()->setText("Package");
        header->subtitleLabel()->setText("Developer");
        return header;
    }
    // A finger holds the content at the offset (a release would spring back from beyond the
    // edge) while the run loop lays out what the new offset changed.
    void scrollTo(double y) {
        scrollView->dragTo({0, y});
        advanceClock(0);
    }

    std::shared_ptr<ScrollView> scrollView =
        std::make_shared<ScrollView>(uikit::Rect{0, 0, 375, 667});
};

TEST_F(InteractiveHeaderTest, PullingDownStretchesTheHeaderAndScalesItsTitle) {
    auto header = addHeader(200);
    EXPECT_EQ(scrollView->contentInset(), (EdgeInsets{180, 0, 34, 0}));
    header->setUseFontScaling(true);

    scrollTo(-200);
    EXPECT_EQ(header->frame(), (uikit::Rect{0, -200, 375, 200}));
    EXPECT_DOUBLE_EQ(header->revealProgress(), 1);
    EXPECT_DOUBLE_EQ(header->extendedRevealProgress(), 1);

    scrollTo(-300);
    EXPECT_EQ(header->frame(), (uikit::Rect{0, -300, 375, 300}));
    EXPECT_DOUBLE_EQ(header->extendedRevealProgress(), 1.5);
    EXPECT_DOUBLE_EQ(header->titleLabel()->font().pointSize(), 42);
    EXPECT_DOUBLE_EQ(header->subtitleLabel()->font().pointSize(), 25.5);
    EXPECT_EQ(scrollView->verticalScrollIndicatorInsets().top, 280);
    EXPECT_NEAR(header->labelStack()->frame().midY(), 150, 1) << "the labels stay centred";

    scrollTo(-400);
    EXPECT_DOUBLE_EQ(header->titleLabel()->font().pointSize(), 42) << "no growth beyond 1.75";
}

TEST_F(InteractiveHeaderTest, ScrollingAwayFadesTheHeaderOutAndTheBarIn) {
    auto header = addHeader(200);
    header->setUseAlphaFade(true);
    auto bar = std::make_shared<uikit::NavigationBar>();
    NavigationBarInteractiveHeader fade(bar);
    fade.setScrollColor(Color(0.1, 0.2, 0.3));
    fade.setScrollTintColor(Color::black());
    fade.setScrollView(scrollView);
    EXPECT_TRUE(bar->isTranslucent());
    EXPECT_EQ(bar->titleTextAttributes().foregroundColor, Color::white());

    scrollTo(-200);
    EXPECT_DOUBLE_EQ(header->revealProgress(), 1);
    ASSERT_TRUE(bar->backgroundImage());
    EXPECT_EQ(bar->backgroundImage()->size().width, 0) << "see-through over the header";
    EXPECT_EQ(bar->tintColor(), Color::white());

    scrollTo(-110);
    EXPECT_DOUBLE_EQ(header->revealProgress(), 0.5);
    EXPECT_DOUBLE_EQ(header->labelStack()->alpha(), 0.5);
    ASSERT_TRUE(bar->backgroundImage());
    EXPECT_NEAR(bar->backgroundImage()->pixelAt(0, 0).alpha(), 0.4, 0.01);
    EXPECT_EQ(bar->tintColor(), Color::white(0.6));

    scrollTo(-11);
    EXPECT_LT(header->revealProgress(), 0) << "no lower bound once only the inset is left";
    EXPECT_NEAR(bar->backgroundImage()->pixelAt(0, 0).alpha(), 0.95, 0.01);

    scrollTo(100);
    EXPECT_FALSE(bar->backgroundImage()) << "fully faded in: the bar's own background";

    fade.resetAppearance();
    scrollTo(-200);
    EXPECT_FALSE(bar->backgroundImage()) << "no longer following";
    EXPECT_FALSE(bar->hasOwnTintColor());
    EXPECT_FALSE(bar->titleTextAttributes().foregroundColor);
}

TEST_F(InteractiveHeaderTest, AFadeAskedForBeforeTheHeaderArrivesAppliesWhenItIsAdded) {
    ScrollViewInteractiveHeader::setUseAlphaFade(scrollView, true);
    auto other = std::make_shared<ScrollView>(uikit::Rect{0, 0, 375, 667});
    EXPECT_TRUE(ScrollViewInteractiveHeader::usesAlphaFade(*scrollView));
    EXPECT_FALSE(ScrollViewInteractiveHeader::usesAlphaFade(*other));

    auto header = addHeader(200);
    EXPECT_TRUE(header->useAlphaFade());
    scrollTo(-110);
    EXPECT_DOUBLE_EQ(header->labelStack()->alpha(), 0.5) << "the banner's labels fade";
    auto replaced = addHeader(200);
    EXPECT_TRUE(replaced->useAlphaFade()) << "a later banner fades too";

    ScrollViewInteractiveHeader::setUseAlphaFade(scrollView, false);
    EXPECT_FALSE(replaced->useAlphaFade());
    EXPECT_FALSE(addHeader(200)->useAlphaFade());
    EXPECT_FALSE(ScrollViewInteractiveHeader::addHeaderWithImage(
                     other, uikit::Image::withColor(Color::systemBlue(), {10, 10}), 200)
                     ->useAlphaFade());
}

TEST_F(InteractiveHeaderTest, ProgressNeverDividesByZero) {
    auto flush = addHeader(20);  // as tall as the top inset
    for (double y : {-30.0, -20.0, -19.0, 0.0, 50.0}) {
        scrollTo(y);
        EXPECT_TRUE(std::isfinite(flush->revealProgress())) << y;
        EXPECT_TRUE(std::isfinite(flush->extendedRevealProgress())) << y;
    }
    scrollTo(-10);
    EXPECT_EQ(flush->revealProgress(), 0) << "hidden until it rests";
    scrollTo(-20);
    EXPECT_EQ(flush->revealProgress(), 1);

    auto flat = addHeader(0);
    flat->setUseFontScaling(true);
    flat->setUseAlphaFade(true);
    for (double y : {-50.0, 0.0, 50.0}) {
        scrollTo(y);
        EXPECT_TRUE(std::isfinite(flat->revealProgress())) << y;
        EXPECT_EQ(flat->extendedRevealProgress(), 0) << y;
        EXPECT_DOUBLE_EQ(flat->titleLabel()->font().pointSize(), 28);
    }
}

TEST_F(InteractiveHeaderTest, ANewHeaderOrScrollViewDropsTheEarlierOne) {
    auto first = addHeader(200);
    auto second = addHeader(150);
    int headers = 0;
    for (const auto& subview : scrollView->subviews())
        headers += std::dynamic_pointer_cast<InteractiveHeaderImageView>(subview) != nullptr;
    EXPECT_EQ(headers, 1);
    EXPECT_EQ(ScrollViewInteractiveHeader::interactiveHeader(*scrollView), second);
    EXPECT_FALSE(first->scrollView()) << "a header out of the tree stops following";
    EXPECT_EQ(scrollView->subviews().front(), second) << "behind the content";

    auto other = std::make_shared<ScrollView>(uikit::Rect{0, 0, 375, 667});
    second->setScrollView(other);
    second->layoutIfNeeded();
    scrollView->setContentOffset({0, -300});
    EXPECT_FALSE(second->needsLayout()) << "the earlier scroll view is no longer observed";
    other->setContentOffset({0, -300});
    EXPECT_TRUE(second->needsLayout());

    ScrollViewInteractiveHeader::removeHeaderView(*scrollView);
    EXPECT_FALSE(ScrollViewInteractiveHeader::interactiveHeader(*scrollView));
    EXPECT_FALSE(second->scrollView());
}

}  // namespace
}  // namespace corvane
