#pragma once

#include <memory>
#include <string>

#include "uikit/Geometry.h"
#include "uikit/SwipeGestureRecognizer.h"

namespace uikit {

class View;
class ScrollView;
class TextField;

// A person's hands for tests and demos: every gesture goes through hit-testing, the gesture
// recognisers and the controls as a finger would. Each returns whether the finger landed on
// the view (or something inside it), rather than on something covering it or on nothing.
namespace hands {

bool tap(const std::shared_ptr<View>& view, int taps = 1);
// A tap at a point of the view's bounds.
bool tapAt(const std::shared_ptr<View>& view, Point point);
// Holds a finger on the view for a while of the run loop's clock, then lifts it.
bool longPress(const std::shared_ptr<View>& view, double seconds, double force = 0,
               double maximumPossibleForce = 0);
// A quick stroke across the view's centre in the direction.
bool swipe(const std::shared_ptr<View>& view, SwipeDirections direction, double distance = 100);
// Taps the field and types into it; false when it would not begin editing.
bool typeText(const std::shared_ptr<TextField>& field, const std::string& text);
// Drags the content to the offset and lifts without flinging.
void scrollTo(ScrollView& scrollView, Point offset);
// Drags the content to the offset and lifts with a velocity (points per millisecond), so
// it decelerates; runs the run loop until the deceleration has ended.
void fling(ScrollView& scrollView, Point offset, Point velocity);

}  // namespace hands

}  // namespace uikit
