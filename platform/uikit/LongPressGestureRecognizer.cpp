#include "uikit/LongPressGestureRecognizer.h"

#include <cmath>

namespace uikit {

LongPressGestureRecognizer::~LongPressGestureRecognizer() {
    cancelTimer();
}

void LongPressGestureRecognizer::cancelTimer() {
    if (timer_ == 0)
        return;
    foundation::RunLoop::main().cancelTimer(timer_);
    timer_ = 0;
}

bool LongPressGestureRecognizer::wandered() const {
    Point a = firstLocation(), b = lastLocation();
    return std::hypot(b.x - a.x, b.y - a.y) > allowableMovement_;
}

void LongPressGestureRecognizer::touchesBegan(const std::vector<Touch>& touches) {
    GestureRecognizer::touchesBegan(touches);
    if (state() != State::possible || timer_ != 0)
        return;
    std::weak_ptr<GestureRecognizer> weak = weak_from_this();
    timer_ = foundation::RunLoop::main().schedule(minimumPressDuration_, [weak] {
        auto self = std::static_pointer_cast<LongPressGestureRecognizer>(weak.lock());
        if (!self)
            return;
        self->timer_ = 0;
        if (self->state() == State::possible && self->numberOfTouches() >= self->touchesRequired_)
            self->setState(State::began);
    });
}

void LongPressGestureRecognizer::touchesMoved(const std::vector<Touch>& touches) {
    GestureRecognizer::touchesMoved(touches);
    if (state() == State::possible && wandered()) {
        cancelTimer();
        setState(State::failed);
    } else if (state() == State::began || state() == State::changed) {
        setState(State::changed);
    }
}

void LongPressGestureRecognizer::touchesEnded(const std::vector<Touch>& touches) {
    GestureRecognizer::touchesEnded(touches);
    cancelTimer();
    if (state() == State::possible)
        setState(State::failed);
    else if (state() == State::began || state() == State::changed)
        setState(State::ended);
}

void LongPressGestureRecognizer::touchesCancelled(const std::vector<Touch>& touches) {
    GestureRecognizer::touchesCancelled(touches);
    cancelTimer();
    if (state() == State::began || state() == State::changed)
        setState(State::cancelled);
    else if (state() == State::possible)
        setState(State::failed);
}

void LongPressGestureRecognizer::reset() {
    cancelTimer();
    GestureRecognizer::reset();
}

}  // namespace uikit
