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
    bool isRunning() const { return pending_ && *pending_; }

  private:
    std::shared_ptr<std::function<void()>> pending_;
    std::uint64_t timer_ = 0;
};

}  // namespace uikit
