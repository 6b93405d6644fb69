#include "uikit/Control.h"

#include <algorithm>

namespace uikit {

namespace {
// A finger may stray this far outside a control and still count as inside, as on the device.
constexpr double kTouchSlop = 70;
}  // namespace

void Control::setEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    if (!enabled)
        highlighted_ = false;
    stateDidChange();
}

void Control::setHighlighted(bool highlighted) {
    if (highlighted_ == highlighted)
        return;
    highlighted_ = highlighted;
    stateDidChange();
}

void Control::setSelected(bool selected) {
    if (selected_ == selected)
        return;
    selected_ = selected;
    stateDidChange();
}

ControlState Control::state() const {
    ControlState state = ControlStates::normal;
    if (!enabled_)
        state |= ControlStates::disabled;
    if (highlighted_)
        state |= ControlStates::highlighted;
    if (selected_)
        state |= ControlStates::selected;
    return state;
}

Control::ActionID Control::addAction(Action action, ControlEvents events) {
    ActionID id = nextActionID_++;
    actions_.push_back({id, events, std::move(action)});
    return id;
}

void Control::removeAction(ActionID id) {
    std::erase_if(actions_, [id](const Registration& r) { return r.id == id; });
}

void Control::removeAllActions() {
    actions_.clear();
}

void Control::sendActions(ControlEvents events) {
    // An action may add or remove actions, or release the control.
    auto keep = weak_from_this().lock();
    auto snapshot = actions_;
    for (const auto& registration : snapshot)
        if ((registration.events & events) && registration.action)
            registration.action(*this);
}

std::size_t Control::actionCount(ControlEvents events) const {
    return static_cast<std::size_t>(
        std::count_if(actions_.begin(), actions_.end(),
                      [events](const Registration& r) { return r.events & events; }));
}

std::shared_ptr<View> Control::hitTest(Point point) {
    if (!enabled_)
        return nullptr;
    return View::hitTest(point);
}

bool Control::isInside(const Touch& touch) const {
    return bounds().insetBy(-kTouchSlop, -kTouchSlop).contains(touch.locationInView(this));
}

void Control::touchesBegan(const std::vector<Touch>& touches) {
    if (!enabled_ || touches.empty())
        return;
    tracking_ = true;
    setHighlighted(true);
    sendActions(touches.front().tapCount > 1
                    ? ControlEvent::touchDown | ControlEvent::touchDownRepeat
                    : ControlEvent::touchDown);
}

void Control::touchesMoved(const std::vector<Touch>& touches) {
    if (!tracking_ || touches.empty())
        return;
    bool inside = isInside(touches.front());
    setHighlighted(inside);
    sendActions(inside ? ControlEvent::touchDragInside : ControlEvent::touchDragOutside);
}

void Control::touchesEnded(const std::vector<Touch>& touches) {
    if (!tracking_ || touches.empty())
        return;
    tracking_ = false;
    setHighlighted(false);
    auto keep = weak_from_this().lock();
    if (isInside(touches.front())) {
        didTapInside(touches.front());
        sendActions(ControlEvent::touchUpInside | ControlEvent::primaryActionTriggered);
    } else {
        sendActions(ControlEvent::touchUpOutside);
    }
}

void Control::touchesCancelled(const std::vector<Touch>& touches) {
    if (!tracking_)
        return;
    tracking_ = false;
    setHighlighted(false);
    sendActions(ControlEvent::touchCancel);
}

}  // namespace uikit
