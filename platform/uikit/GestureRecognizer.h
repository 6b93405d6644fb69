#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "uikit/GestureRecognizerDelegate.h"
#include "uikit/Touch.h"

namespace uikit {

class View;
class TouchSequence;

// Watches the touches of its view (and the view's subviews) and tells its targets when it
// recognises its gesture. Subclasses read touches in the touch hooks and move the state:
// a discrete gesture from possible to ended (recognised) or failed, a continuous one through
// began, changed and ended or cancelled. Targets hear of began, changed, ended and cancelled.
class GestureRecognizer : public std::enable_shared_from_this<GestureRecognizer> {
  public:
    enum class State { possible, began, changed, ended, cancelled, failed };
    static constexpr State recognized = State::ended;

    using Action = std::function<void(GestureRecognizer& recognizer)>;
    using TargetID = std::uint64_t;

    GestureRecognizer() = default;
    explicit GestureRecognizer(Action action) { addTarget(std::move(action)); }
    virtual ~GestureRecognizer();
    GestureRecognizer(const GestureRecognizer&) = delete;
    GestureRecognizer& operator=(const GestureRecognizer&) = delete;

    State state() const { return state_; }
    TargetID addTarget(Action action);
    void removeTarget(TargetID id);
    std::size_t targetCount() const { return targets_.size(); }

    bool isEnabled() const { return enabled_; }
    // Disabling a recogniser in the middle of a gesture cancels it.
    void setEnabled(bool enabled);
    // A recognised gesture takes the touches from the view underneath (it gets touchesCancelled).
    bool cancelsTouchesInView() const { return cancelsTouchesInView_; }
    void setCancelsTouchesInView(bool on) { cancelsTouchesInView_ = on; }
    std::shared_ptr<GestureRecognizerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<GestureRecognizerDelegate> d) { delegate_ = std::move(d); }

    // The view it is attached to.
    View* view() const { return view_; }
    // The last touch's location in the view's coordinates (root coordinates without a view).
    Point locationInView(const View* view) const;
    int numberOfTouches() const { return touchCount_; }

    // Touch hooks; subclasses call the base first so locations and counts are kept.
    virtual void touchesBegan(const std::vector<Touch>& touches);
    virtual void touchesMoved(const std::vector<Touch>& touches);
    virtual void touchesEnded(const std::vector<Touch>& touches);
    virtual void touchesCancelled(const std::vector<Touch>& touches);
    // Back to possible once the gesture is over; subclasses clear their own state too.
    virtual void reset();

  protected:
    // Moves the state, asking the delegate before leaving possible, and tells the targets.
    void setState(State state);
    Point firstLocation() const { return firstLocation_; }
    Point lastLocation() const { return lastLocation_; }

  private:
    friend class View;
    friend class TouchSequence;
    void fireTargets();

    struct Target {
        TargetID id;
        Action action;
    };
    State state_ = State::possible;
    std::vector<Target> targets_;
    TargetID nextTargetID_ = 1;
    bool enabled_ = true;
    bool cancelsTouchesInView_ = true;
    std::weak_ptr<GestureRecognizerDelegate> delegate_;
    View* view_ = nullptr;               // set by the view, cleared when it goes
    TouchSequence* sequence_ = nullptr;  // the touches it is watching now
    Point firstLocation_;
    Point lastLocation_;
    int touchCount_ = 0;
};

}  // namespace uikit
