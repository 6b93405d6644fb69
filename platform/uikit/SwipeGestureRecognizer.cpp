#include "uikit/SwipeGestureRecognizer.h"

#include <cmath>

namespace uikit {

void SwipeGestureRecognizer::touchesEnded(const std::vector<Touch>& touches) {
    GestureRecognizer::touchesEnded(touches);
    if (state() != State::possible)
        return;
    double dx = lastLocation().x - firstLocation().x;
    double dy = lastLocation().y - firstLocation().y;
    SwipeDirections moved = 0;
    if (std::abs(dx) >= std::abs(dy) && std::abs(dx) >= kMinimumDistance)
        moved = dx > 0 ? SwipeDirection::right : SwipeDirection::left;
    else if (std::abs(dy) > std::abs(dx) && std::abs(dy) >= kMinimumDistance)
        moved = dy > 0 ? SwipeDirection::down : SwipeDirection::up;
    setState(moved & direction_ ? State::ended : State::failed);
}

void SwipeGestureRecognizer::touchesCancelled(const std::vector<Touch>& touches) {
    GestureRecognizer::touchesCancelled(touches);
    if (state() == State::possible)
        setState(State::failed);
}

}  // namespace uikit
