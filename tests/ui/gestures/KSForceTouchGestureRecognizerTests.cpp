// A hard press through a finger with pressure: fires once per gesture at the trigger force, never
// on a device without pressure, and leaves the touches to the view underneath.
#include "ui/gestures/KSForceTouchGestureRecognizer.h"

#include <gtest/gtest.h>

#include "uikit/Button.h"
#include "uikit/ImpactFeedbackGenerator.h"
#include "uikit/TouchSequence.h"
#include "uikit/Window.h"

namespace corvane {
namespace {

using uikit::GestureRecognizer;
using uikit::ImpactFeedbackGenerator;
using uikit::ImpactFeedbackStyle;

class KSForceTouchGestureRecognizerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        button_->setFrame({100, 100, 100, 60});
        button_->addAction([this](uikit::Control&) { ++taps_; },
                           uikit::ControlEvent::touchUpInside);
        button_->addGestureRecognizer(press_);
        window_->addSubview(button_);
        window_->makeKeyAndVisible();
    }

    uikit::Point center() const { return button_->frame().center(); }

    std::shared_ptr<uikit::Window> window_ = std::make_shared<uikit::Window>();
    std::shared_ptr<uikit::Button> button_ = std::make_shared<uikit::Button>();
    int fired_ = 0;
    int taps_ = 0;
    std::shared_ptr<KSForceTouchGestureRecognizer> press_ =
        std::make_shared<KSForceTouchGestureRecognizer>([this](GestureRecognizer& recognizer) {
            if (recognizer.state() == GestureRecognizer::State::ended)
                ++fired_;
        });
};

TEST_F(KSForceTouchGestureRecognizerTest, FiresOnceAtTheTriggerForceWithALightTap) {
    EXPECT_DOUBLE_EQ(press_->triggerForce(), 0.5);
    EXPECT_TRUE(press_->triggerOncePerTouch());
    {
        // A maximum above 4.0 divides by 4.0.
        uikit::TouchSequence finger(window_, center(), 1.9, 6.67);
        EXPECT_DOUBLE_EQ(press_->force(), 0.475);
        EXPECT_EQ(fired_, 0);
        finger.moveTo(center(), 2.0);
        EXPECT_EQ(fired_, 1);
        EXPECT_TRUE(press_->recognized());
        EXPECT_EQ(ImpactFeedbackGenerator::impactCount(ImpactFeedbackStyle::light), 1);
        finger.moveTo(center(), 3.5);
        finger.moveTo(center(), 1.0);
        finger.moveTo(center(), 3.5);
        EXPECT_EQ(fired_, 1) << "once per gesture";
        finger.end();
    }
    EXPECT_EQ(taps_, 1) << "the button still got its touches";

    uikit::TouchSequence again(window_, center(), 1.0, 2.0);
    EXPECT_EQ(fired_, 2) << "a new gesture starts afresh; a maximum of 2 divides by 2";
    again.end();
}

TEST_F(KSForceTouchGestureRecognizerTest, ADeviceWithoutPressureNeverFires) {
    uikit::TouchSequence finger(window_, center(), 5.0, 0);
    finger.moveTo(center(), 0);
    finger.moveTo(center(), 100);
    finger.end();
    EXPECT_EQ(fired_, 0);
    EXPECT_EQ(ImpactFeedbackGenerator::impactCount(ImpactFeedbackStyle::light), 0);
    EXPECT_DOUBLE_EQ(press_->force(), 0);
    EXPECT_EQ(taps_, 1);

    press_->setTriggerForce(0);
    uikit::TouchSequence light(window_, center(), 0, 0);
    light.end();
    EXPECT_EQ(fired_, 0) << "not even with a trigger force of 0";
}

}  // namespace
}  // namespace corvane
