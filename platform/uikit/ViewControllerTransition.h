#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace uikit {

// The end of a controller transition (a push, a pop, a presentation, a dismissal), run on the
// main run loop: after kDuration of its clock when animated, on the next turn otherwise.
// Starting a transition while one runs finishes the running one first, so a second push or a
// dismissal during a presentation never sees a half-done state.
class ViewControllerTransition {
  public:
    static constexpr double kDuration = 0.3;

    ViewControllerTransition() = default;
    ViewControllerTransition(const ViewControllerTransition&) = delete;
    ViewControllerTransition& operator=(const ViewControllerTransition&) = delete;
    ~ViewControllerTransition();

    void start(bool animated, std::function<void()> finish);
    // Runs the pending end now, if there is one.
    void finishNow();
    bool isRunning() const {
        auto pending = pending_.lock();
        return pending && *pending;
    }

  private:
    // Owned by the timer alone: an end the run loop drops unrun goes with everything it holds
    // (the controllers of the transition among them).
    std::weak_ptr<std::function<void()>> pending_;
    std::uint64_t timer_ = 0;
};

}  // namespace uikit
