#include "uikit/TapGestureRecognizer.h"

#include <cmath>

#include "foundation/Clock.h"

namespace uikit {

void TapGestureRecognizer::touchesBegan(const std::vector<Touch>& touches) {
    GestureRecognizer::touchesBegan(touches);
    pressStart_ = foundation::Clock::now();
}

void TapGestureRecognizer::touchesMoved(const std::vector<Touch>& touches) {
    GestureRecognizer::touchesMoved(touches);
    if (state() != State::possible)
        return;
    Point a = firstLocation(), b = lastLocation();
    if (std::hypot(b.x - a.x, b.y - a.y) > kAllowableMovement)
        setState(State::failed);
}

void TapGestureRecognizer::touchesEnded(const std::vector<Touch>& touches) {
    GestureRecognizer::touchesEnded(touches);
    if (state() != State::possible || touches.empty())
        return;
    if (foundation::Clock::now() - pressStart_ > kMaximumPressDuration)
        setState(State::failed);
    else if (touches.front().tapCount >= tapsRequired_)
        setState(State::ended);
}

void TapGestureRecognizer::touchesCancelled(const std::vector<Touch>& touches) {
    GestureRecognizer::touchesCancelled(touches);
    if (state() == State::possible)
        setState(State::failed);
}

}  // namespace uikit
