#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "uikit/View.h"

namespace uikit {

using ControlEvents = std::uint32_t;
struct ControlEvent {
    static constexpr ControlEvents touchDown = 1u << 0;
    static constexpr ControlEvents touchDownRepeat = 1u << 1;
    static constexpr ControlEvents touchDragInside = 1u << 2;
    static constexpr ControlEvents touchDragOutside = 1u << 3;
    static constexpr ControlEvents touchDragEnter = 1u << 4;
    static constexpr ControlEvents touchDragExit = 1u << 5;
    static constexpr ControlEvents touchUpInside = 1u << 6;
    static constexpr ControlEvents touchUpOutside = 1u << 7;
    static constexpr ControlEvents touchCancel = 1u << 8;
    static constexpr ControlEvents valueChanged = 1u << 12;
    static constexpr ControlEvents primaryActionTriggered = 1u << 13;
    static constexpr ControlEvents editingDidBegin = 1u << 16;
    static constexpr ControlEvents editingChanged = 1u << 17;
    static constexpr ControlEvents editingDidEnd = 1u << 18;
    static constexpr ControlEvents editingDidEndOnExit = 1u << 19;
    static constexpr ControlEvents allTouchEvents = 0x0FFFu;
    static constexpr ControlEvents allEvents = 0xFFFFFFFFu;
};

using ControlState = std::uint32_t;
struct ControlStates {
    static constexpr ControlState normal = 0;
    static constexpr ControlState highlighted = 1u << 0;
    static constexpr ControlState disabled = 1u << 1;
    static constexpr ControlState selected = 1u << 2;
};

// A view that turns touches into events and sends them to its actions (target-action: the
// target is whatever the action captures, weakly where it may go away first).
class Control : public View {
  public:
    using Action = std::function<void(Control& sender)>;
    using ActionID = std::uint64_t;
    // A control that cannot be used is drawn faded to this alpha.
    static constexpr double kDisabledAlpha = 0.5;

    bool isEnabled() const { return enabled_; }
    virtual void setEnabled(bool enabled);
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted);
    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected);
    ControlState state() const;
    bool isTracking() const { return tracking_; }

    ActionID addAction(Action action, ControlEvents events);
    void removeAction(ActionID id);
    void removeAllActions();
    // Runs every action registered for any of the events, in the order they were added.
    void sendActions(ControlEvents events);
    std::size_t actionCount(ControlEvents events) const;

    void touchesBegan(const std::vector<Touch>& touches) override;
    void touchesMoved(const std::vector<Touch>& touches) override;
    void touchesEnded(const std::vector<Touch>& touches) override;
    void touchesCancelled(const std::vector<Touch>& touches) override;
    std::shared_ptr<View> hitTest(Point point) override;

  protected:
    // A touch began inside and lifted inside: the control's own reaction before its actions
    // (a switch flips, a segmented control selects) runs here.
    virtual void didTapInside(const Touch& touch) {}
    virtual void stateDidChange() {}

  private:
    bool isInside(const Touch& touch) const;

    struct Registration {
        ActionID id;
        ControlEvents events;
        Action action;
    };
    bool enabled_ = true;
    bool highlighted_ = false;
    bool selected_ = false;
    bool tracking_ = false;
    std::vector<Registration> actions_;
    ActionID nextActionID_ = 1;
};

}  // namespace uikit
