#include "uikit/GestureRecognizer.h"

#include "uikit/TouchSequence.h"
#include "uikit/View.h"

namespace uikit {

GestureRecognizer::~GestureRecognizer() = default;

GestureRecognizer::TargetID GestureRecognizer::addTarget(Action action) {
    TargetID id = nextTargetID_++;
    targets_.push_back({id, std::move(action)});
    return id;
}

void GestureRecognizer::removeTarget(TargetID id) {
    std::erase_if(targets_, [id](const Target& t) { return t.id == id; });
}

void GestureRecognizer::setEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    if (!enabled && (state_ == State::began || state_ == State::changed))
        setState(State::cancelled);
}

Point GestureRecognizer::locationInView(const View* target) const {
    return target ? target->convertPointFrom(lastLocation_, nullptr) : lastLocation_;
}

void GestureRecognizer::touchesBegan(const std::vector<Touch>& touches) {
    if (touches.empty())
        return;
    if (touchCount_ == 0)
        firstLocation_ = touches.front().location;
    lastLocation_ = touches.front().location;
    touchCount_ += static_cast<int>(touches.size());
}

void GestureRecognizer::touchesMoved(const std::vector<Touch>& touches) {
    if (!touches.empty())
        lastLocation_ = touches.front().location;
}

void GestureRecognizer::touchesEnded(const std::vector<Touch>& touches) {
    if (!touches.empty())
        lastLocation_ = touches.front().location;
    touchCount_ = std::max(0, touchCount_ - static_cast<int>(touches.size()));
}

void GestureRecognizer::touchesCancelled(const std::vector<Touch>& touches) {
    touchCount_ = std::max(0, touchCount_ - static_cast<int>(touches.size()));
}

void GestureRecognizer::reset() {
    state_ = State::possible;
    touchCount_ = 0;
}

void GestureRecognizer::setState(State state) {
    State previous = state_;
    bool leavingPossible =
        previous == State::possible && (state == State::began || state == State::ended);
    if (leavingPossible) {
        if (auto delegate = this->delegate();
            delegate && !delegate->gestureRecognizerShouldBegin(*this)) {
            state_ = State::failed;
            return;
        }
    }
    state_ = state;
    auto keep = weak_from_this().lock();
    if (leavingPossible && sequence_)
        sequence_->recognizerDidRecognize(*this);
    if (state == State::began || state == State::changed || state == State::ended ||
        state == State::cancelled)
        fireTargets();
}

void GestureRecognizer::fireTargets() {
    auto snapshot = targets_;
    for (const auto& target : snapshot)
        if (target.action)
            target.action(*this);
}

}  // namespace uikit
