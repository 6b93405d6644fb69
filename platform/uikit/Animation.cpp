#include "uikit/Animation.h"

#include "foundation/ProcessState.h"
#include "foundation/RunLoop.h"
#include "uikit/View.h"

namespace uikit {

namespace {

int running = 0;

// The timers that would end the animations running now are dropped with the run loop's blocks.
const bool forgottenByReset = foundation::ProcessState::registerReset(
    foundation::ProcessState::Phase::mainLoop, [] { running = 0; });

}  // namespace

void Animation::animate(double duration, Block animations, Completion completion) {
    animate(duration, 0, AnimationOption::none, std::move(animations), std::move(completion));
}

void Animation::animate(double duration, double delay, AnimationOptions options, Block animations,
                        Completion completion) {
    if (animations)
        animations();
    finishAfter(delay + duration, std::move(completion));
}

void Animation::animateWithSpring(double duration, double delay, double dampingRatio,
                                  double initialVelocity, AnimationOptions options,
                                  Block animations, Completion completion) {
    animate(duration, delay, options, std::move(animations), std::move(completion));
}

void Animation::transition(const std::shared_ptr<View>& view, double duration,
                           AnimationOptions options, Block animations, Completion completion) {
    if (view)
        view->layer().addTransition({LayerTransition::Type::fade, duration}, "transition");
    animate(duration, 0, options, std::move(animations), std::move(completion));
}

void Animation::transition(const std::shared_ptr<View>& fromView,
                           const std::shared_ptr<View>& toView, double duration,
                           AnimationOptions options, Completion completion) {
    if (fromView && toView && fromView != toView) {
        if (View* parent = fromView->superviewPtr()) {
            parent->insertSubviewAbove(toView, fromView.get());
            fromView->removeFromSuperview();
        }
    }
    finishAfter(duration, std::move(completion));
}

int Animation::runningCount() {
    return running;
}

void Animation::finishAfter(double seconds, Completion completion) {
    ++running;
    foundation::RunLoop::main().schedule(seconds, [completion = std::move(completion)] {
        --running;
        if (completion)
            completion(true);
    });
}

}  // namespace uikit
