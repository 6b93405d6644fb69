#include "uikit/TouchSequence.h"

#include "foundation/Clock.h"
#include "uikit/GestureRecognizer.h"
#include "uikit/View.h"

namespace uikit {

namespace {

bool isOver(GestureRecognizer::State state) {
    return state == GestureRecognizer::State::ended ||
           state == GestureRecognizer::State::cancelled ||
           state == GestureRecognizer::State::failed;
}

bool mayRecognizeTogether(GestureRecognizer& a, GestureRecognizer& b) {
    auto da = a.delegate();
    auto db = b.delegate();
    return (da && da->gestureRecognizerShouldRecognizeSimultaneously(a, b)) ||
           (db && db->gestureRecognizerShouldRecognizeSimultaneously(b, a));
}

}  // namespace

TouchSequence::TouchSequence(const std::shared_ptr<View>& root, Point location, double force,
                             double maximumPossibleForce, int tapCount)
    : root_(root) {
    touch_.location = touch_.previousLocation = location;
    touch_.force = force;
    touch_.maximumPossibleForce = maximumPossibleForce;
    touch_.tapCount = tapCount;
    touch_.timestamp = foundation::Clock::now();
    hitView_ = root_ ? root_->hitTest(location) : nullptr;
    touch_.view = hitView_;
    for (View* v = hitView_.get(); v; v = v->superviewPtr()) {
        for (const auto& recognizer : v->gestureRecognizers()) {
            if (!recognizer->isEnabled())
                continue;
            if (auto d = recognizer->delegate();
                d && !d->gestureRecognizerShouldReceiveTouch(*recognizer, touch_))
                continue;
            if (isOver(recognizer->state()))
                recognizer->reset();
            recognizer->sequence_ = this;
            recognizers_.push_back(recognizer);
        }
    }
    deliver(Touch::Phase::began);
}

TouchSequence::~TouchSequence() {
    if (!finished_)
        cancel();
}

void TouchSequence::moveTo(Point location, double force) {
    if (finished_)
        return;
    touch_.previousLocation = touch_.location;
    touch_.location = location;
    touch_.force = force;
    touch_.timestamp = foundation::Clock::now();
    deliver(Touch::Phase::moved);
}

void TouchSequence::end() {
    if (finished_)
        return;
    touch_.timestamp = foundation::Clock::now();
    deliver(Touch::Phase::ended);
    finish();
}

void TouchSequence::cancel() {
    if (finished_)
        return;
    deliver(Touch::Phase::cancelled);
    finish();
}

void TouchSequence::deliver(Touch::Phase phase) {
    touch_.phase = phase;
    std::vector<Touch> touches{touch_};
    deliverToRecognizers(phase, touches);
    deliverToView(phase, touches);
}

void TouchSequence::deliverToRecognizers(Touch::Phase phase, const std::vector<Touch>& touches) {
    for (const auto& recognizer : std::vector(recognizers_)) {
        if (recognizer->sequence_ != this || !recognizer->isEnabled())
            continue;
        auto state = recognizer->state();
        if (state == GestureRecognizer::State::failed ||
            state == GestureRecognizer::State::cancelled)
            continue;
        switch (phase) {
            case Touch::Phase::began:
                recognizer->touchesBegan(touches);
                break;
            case Touch::Phase::moved:
            case Touch::Phase::stationary:
                recognizer->touchesMoved(touches);
                break;
            case Touch::Phase::ended:
                recognizer->touchesEnded(touches);
                break;
            case Touch::Phase::cancelled:
                recognizer->touchesCancelled(touches);
                break;
        }
    }
}

void TouchSequence::deliverToView(Touch::Phase phase, const std::vector<Touch>& touches) {
    if (viewCancelled_ || !hitView_)
        return;
    switch (phase) {
        case Touch::Phase::began:
            hitView_->touchesBegan(touches);
            break;
        case Touch::Phase::moved:
        case Touch::Phase::stationary:
            hitView_->touchesMoved(touches);
            break;
        case Touch::Phase::ended:
            hitView_->touchesEnded(touches);
            break;
        case Touch::Phase::cancelled:
            viewCancelled_ = true;
            hitView_->touchesCancelled(touches);
            break;
    }
}

void TouchSequence::recognizerDidRecognize(GestureRecognizer& recognizer) {
    for (const auto& other : recognizers_) {
        if (other.get() == &recognizer || other->state() != GestureRecognizer::State::possible)
            continue;
        if (!mayRecognizeTogether(recognizer, *other))
            other->state_ = GestureRecognizer::State::failed;
    }
    if (!recognizer.cancelsTouchesInView() || viewCancelled_ || !hitView_)
        return;
    Touch cancelled = touch_;
    cancelled.phase = Touch::Phase::cancelled;
    viewCancelled_ = true;
    hitView_->touchesCancelled({cancelled});
}

void TouchSequence::finish() {
    finished_ = true;
    for (const auto& recognizer : recognizers_)
        if (recognizer->sequence_ == this)
            recognizer->sequence_ = nullptr;
}

}  // namespace uikit
