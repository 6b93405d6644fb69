#include "uikit/Animation.h"

#include <gtest/gtest.h>

#include "support/MainLoop.h"
#include "uikit/View.h"

namespace {

using namespace uikit;
using testing_support::advanceClock;

TEST(Animation, FinalValuesAtOnceCompletionAfterTheDuration) {
    auto view = std::make_shared<View>(Rect{0, 0, 100, 40});
    std::vector<bool> finished;
    Animation::animate(
        0.25, 0.1, AnimationOption::allowUserInteraction,
        [&] {
            view->setTransform(AffineTransform::makeScale(0.9, 0.9));
            view->setAlpha(0.5);
        },
        [&](bool done) { finished.push_back(done); });
    EXPECT_EQ(view->transform(), AffineTransform::makeScale(0.9, 0.9));
    EXPECT_EQ(view->alpha(), 0.5);
    EXPECT_EQ(Animation::runningCount(), 1);
    advanceClock(0.3);
    EXPECT_TRUE(finished.empty());
    advanceClock(0.06);
    EXPECT_EQ(finished, std::vector<bool>{true});
    EXPECT_EQ(Animation::runningCount(), 0);
}

TEST(Animation, ChainedAnimationsRunInTurn) {
    // The press bounce: shrink, and when that ends, grow back.
    auto button = std::make_shared<View>(Rect{0, 0, 60, 30});
    Animation::animate(
        0.25, [&] { button->setTransform(AffineTransform::makeScale(0.9, 0.9)); },
        [&](bool) {
            Animation::animate(0.25, [&] { button->setTransform(AffineTransform::identity()); });
        });
    advanceClock(0.2);
    EXPECT_FALSE(button->transform().isIdentity());
    advanceClock(0.1);
    EXPECT_TRUE(button->transform().isIdentity());
    EXPECT_EQ(Animation::runningCount(), 1) << "the growth is still under way";
    advanceClock(0.25);
    EXPECT_EQ(Animation::runningCount(), 0);
}

TEST(Animation, ZeroDurationCompletesOnTheNextTurn) {
    bool done = false;
    Animation::animateWithSpring(0, 0, 0.8, 0.5, AnimationOption::none, {},
                                 [&](bool) { done = true; });
    EXPECT_FALSE(done);
    advanceClock(0);
    EXPECT_TRUE(done);
}

TEST(Animation, TransitionsSwapViewsAndFadeLayers) {
    auto container = std::make_shared<View>();
    auto oldView = std::make_shared<View>(), newView = std::make_shared<View>();
    container->addSubview(oldView);
    Animation::transition(oldView, newView, 0.3, AnimationOption::transitionCrossDissolve);
    EXPECT_EQ(container->subviews(), std::vector<std::shared_ptr<View>>{newView});

    newView->layer().addTransition({LayerTransition::Type::fade, 0.2}, "fadeText");
    EXPECT_TRUE(newView->layer().transitionForKey("fadeText"));
    advanceClock(0.25);
    EXPECT_FALSE(newView->layer().transitionForKey("fadeText"));
    EXPECT_EQ(Animation::runningCount(), 1) << "the swap takes 0.3 s";
    advanceClock(0.05);
    EXPECT_EQ(Animation::runningCount(), 0);
}

}  // namespace
