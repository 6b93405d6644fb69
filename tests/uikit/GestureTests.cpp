#include <gtest/gtest.h>

#include "support/MainLoop.h"
#include "uikit/Button.h"
#include "uikit/Hands.h"
#include "uikit/LongPressGestureRecognizer.h"
#include "uikit/SelectionFeedbackGenerator.h"
#include "uikit/SwipeGestureRecognizer.h"
#include "uikit/TapGestureRecognizer.h"
#include "uikit/TouchSequence.h"

namespace {

using namespace uikit;
using State = GestureRecognizer::State;
using testing_support::advanceClock;

struct Screen {
    std::shared_ptr<View> root = std::make_shared<View>(Rect{0, 0, 320, 480});
    std::shared_ptr<Button> button = std::make_shared<Button>(ButtonType::system);
    std::vector<std::string> events;
    Screen() {
        button->setFrame({100, 100, 80, 30});
        button->setTitle("GET");
        root->addSubview(button);
        button->addAction([this](Control&) { events.push_back("tap"); },
                          ControlEvent::touchUpInside);
        button->addAction([this](Control&) { events.push_back("cancel"); },
                          ControlEvent::touchCancel);
    }
    std::shared_ptr<LongPressGestureRecognizer> addLongPress(double minimum) {
        auto press = std::make_shared<LongPressGestureRecognizer>([this](GestureRecognizer& r) {
            if (r.state() == State::began)
                events.push_back("press began");
            if (r.state() == State::ended)
                events.push_back("press ended");
        });
        press->setMinimumPressDuration(minimum);
        button->addGestureRecognizer(press);
        return press;
    }
};

TEST(Gestures, ATapReachesTheButton) {
    Screen screen;
    EXPECT_TRUE(hands::tap(screen.button));
    EXPECT_EQ(screen.events, std::vector<std::string>{"tap"});
    screen.button->setHidden(true);
    EXPECT_FALSE(hands::tap(screen.button));
    EXPECT_EQ(screen.events.size(), 1u);
}

TEST(Gestures, LongPressFiresAfterItsMinimumDurationOnTheClock) {
    Screen screen;
    auto press = screen.addLongPress(0.2);
    TouchSequence finger(screen.root, {140, 115});
    advanceClock(0.15);
    EXPECT_EQ(press->state(), State::possible);
    EXPECT_TRUE(screen.button->isHighlighted());
    advanceClock(0.1);
    EXPECT_EQ(press->state(), State::began);
    // The recognised press took the touch from the button: no tap when the finger lifts.
    EXPECT_FALSE(screen.button->isHighlighted());
    finger.end();
    EXPECT_EQ(screen.events, (std::vector<std::string>{"cancel", "press began", "press ended"}));
}

TEST(Gestures, ALiftBeforeTheMinimumDurationIsATapNotAPress) {
    Screen screen;
    auto press = screen.addLongPress(0.5);
    EXPECT_TRUE(hands::longPress(screen.button, 0.3));
    advanceClock(1);  // a timer left behind would fire now
    EXPECT_EQ(screen.events, std::vector<std::string>{"tap"});
    EXPECT_EQ(press->state(), State::failed);

    EXPECT_TRUE(hands::longPress(screen.button, 0.6));
    EXPECT_EQ(screen.events,
              (std::vector<std::string>{"tap", "cancel", "press began", "press ended"}));
}

TEST(Gestures, AWanderingFingerIsNoLongPress) {
    Screen screen;
    auto press = screen.addLongPress(0.5);
    TouchSequence finger(screen.root, {140, 115});
    finger.moveTo({140, 140});
    advanceClock(1);
    finger.end();
    EXPECT_EQ(press->state(), State::failed);
    EXPECT_EQ(screen.events, std::vector<std::string>{"tap"});  // still within the button's reach
}

TEST(Gestures, TheDelegateMayStopARecogniserAndManyTargetsHearIt) {
    struct Refuse : GestureRecognizerDelegate {
        bool allow = false;
        bool gestureRecognizerShouldBegin(GestureRecognizer&) override { return allow; }
    };
    Screen screen;
    auto press = screen.addLongPress(0.2);
    int extra = 0;
    press->addTarget([&](GestureRecognizer& r) {
        if (r.state() == State::began)
            ++extra;
    });
    auto refuse = std::make_shared<Refuse>();
    press->setDelegate(refuse);
    hands::longPress(screen.button, 1);
    EXPECT_EQ(screen.events, std::vector<std::string>{"tap"});
    refuse->allow = true;
    hands::longPress(screen.button, 1);
    EXPECT_EQ(extra, 1);
    EXPECT_EQ(screen.events.back(), "press ended");

    press->setCancelsTouchesInView(false);
    hands::longPress(screen.button, 1);
    EXPECT_EQ(screen.events.back(), "tap");  // the button keeps its touch
}

TEST(Gestures, TapAndSwipeRecognisers) {
    auto root = std::make_shared<View>(Rect{0, 0, 300, 300});
    auto area = std::make_shared<View>(Rect{0, 0, 300, 300});
    root->addSubview(area);
    int doubleTaps = 0, lefts = 0;
    auto tap = std::make_shared<TapGestureRecognizer>([&](GestureRecognizer&) { ++doubleTaps; });
    tap->setNumberOfTapsRequired(2);
    area->addGestureRecognizer(tap);
    auto swipe = std::make_shared<SwipeGestureRecognizer>([&](GestureRecognizer&) { ++lefts; });
    swipe->setDirection(SwipeDirection::left);
    area->addGestureRecognizer(swipe);

    hands::tap(area);
    EXPECT_EQ(doubleTaps, 0);
    hands::tap(area, 2);
    EXPECT_EQ(doubleTaps, 1);
    hands::swipe(area, SwipeDirection::right);
    EXPECT_EQ(lefts, 0);
    hands::swipe(area, SwipeDirection::left);
    EXPECT_EQ(lefts, 1);
    EXPECT_EQ(doubleTaps, 1);
    tap->setEnabled(false);
    hands::tap(area, 2);
    EXPECT_EQ(doubleTaps, 1);
}

TEST(Gestures, CustomRecognisersReadForce) {
    // Pressure sensing only where the device has it (a maximum force above 0).
    struct ForcePress : GestureRecognizer {
        using GestureRecognizer::GestureRecognizer;
        void touchesBegan(const std::vector<Touch>& touches) override {
            GestureRecognizer::touchesBegan(touches);
            const Touch& t = touches.front();
            if (t.maximumPossibleForce > 0 && t.force / t.maximumPossibleForce > 0.75)
                setState(State::ended);
        }
        void touchesEnded(const std::vector<Touch>& touches) override {
            GestureRecognizer::touchesEnded(touches);
            if (state() == State::possible)
                setState(State::failed);
        }
    };
    auto root = std::make_shared<View>(Rect{0, 0, 100, 100});
    int fired = 0;
    auto press = std::make_shared<ForcePress>([&](GestureRecognizer& r) {
        ++fired;
        EXPECT_EQ(r.locationInView(r.view()), (Point{50, 50}));
    });
    root->addGestureRecognizer(press);
    hands::longPress(root, 0.1, 5, 0);
    EXPECT_EQ(fired, 0);
    hands::longPress(root, 0.1, 5, 6);
    EXPECT_EQ(fired, 1);

    const int before = SelectionFeedbackGenerator::selectionChangedCount();
    SelectionFeedbackGenerator feedback;
    feedback.prepare();
    feedback.selectionChanged();
    EXPECT_EQ(SelectionFeedbackGenerator::selectionChangedCount(), before + 1);
}

}  // namespace
