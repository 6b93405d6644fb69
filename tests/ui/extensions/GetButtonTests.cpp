// The Get button's long press and bounce, through a finger on the button.
#include "ui/extensions/GetButton.h"

#include <gtest/gtest.h>

#include "support/MainLoop.h"
#include "uikit/Hands.h"
#include "uikit/SelectionFeedbackGenerator.h"
#include "uikit/Window.h"

namespace corvane {
namespace {

using testing_support::advanceClock;
using uikit::AffineTransform;

TEST(GetButton, ALongPressTicksTheHapticAndBouncesTheButtonBack) {
    auto window = std::make_shared<uikit::Window>();
    auto button = std::make_shared<uikit::Button>();
    button->setFrame({100, 100, 80, 30});
    window->addSubview(button);
    window->makeKeyAndVisible();

    auto press = GetButton::hapticPress(*button);
    EXPECT_EQ(GetButton::hapticPress(*button), press) << "made once";
    EXPECT_EQ(button->gestureRecognizers().size(), 1u);
    EXPECT_DOUBLE_EQ(press->minimumPressDuration(), 0.2);

    std::vector<uikit::GestureRecognizer::State> heard;
    GetButton::addTarget(*button, [&](uikit::GestureRecognizer& r) { heard.push_back(r.state()); });
    const int changesBefore = uikit::SelectionFeedbackGenerator::selectionChangedCount();
    const int preparesBefore = uikit::SelectionFeedbackGenerator::prepareCount();

    ASSERT_TRUE(uikit::hands::longPress(button, 0.21));
    EXPECT_EQ(uikit::SelectionFeedbackGenerator::selectionChangedCount(), changesBefore + 1);
    EXPECT_EQ(uikit::SelectionFeedbackGenerator::prepareCount(), preparesBefore + 1);
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.front(), uikit::GestureRecognizer::State::began);
    EXPECT_EQ(heard.back(), uikit::GestureRecognizer::State::ended)
        << "added targets hear every state";
    EXPECT_EQ(button->transform(), AffineTransform::makeScale(0.9, 0.9));

    advanceClock(0.25);
    EXPECT_TRUE(button->transform().isIdentity()) << "back to where it was";
}

TEST(GetButton, TheBounceReturnsToTheTransformTheButtonHad) {
    auto button = std::make_shared<uikit::Button>();
    const auto turned = AffineTransform::makeRotation(0.5);
    button->setTransform(turned);
    GetButton::animateButton(*button);
    EXPECT_EQ(button->transform(), AffineTransform::identity().scaledBy(0.9, 0.9));
    advanceClock(0.5);
    EXPECT_EQ(button->transform(), turned);

    GetButton::animateButton(*button);
    button.reset();
    advanceClock(0.5);  // a button gone before the bounce ends is left alone
}

}  // namespace
}  // namespace corvane
