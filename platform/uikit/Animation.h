#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace uikit {

class View;

using AnimationOptions = std::uint32_t;
struct AnimationOption {
    static constexpr AnimationOptions none = 0;
    static constexpr AnimationOptions layoutSubviews = 1u << 0;
    static constexpr AnimationOptions allowUserInteraction = 1u << 1;
    static constexpr AnimationOptions beginFromCurrentState = 1u << 2;
    static constexpr AnimationOptions repeat = 1u << 3;
    static constexpr AnimationOptions autoreverse = 1u << 4;
    static constexpr AnimationOptions curveEaseInOut = 0u << 16;
    static constexpr AnimationOptions curveEaseIn = 1u << 16;
    static constexpr AnimationOptions curveEaseOut = 2u << 16;
    static constexpr AnimationOptions curveLinear = 3u << 16;
    static constexpr AnimationOptions transitionNone = 0u << 20;
    static constexpr AnimationOptions transitionFlipFromLeft = 1u << 20;
    static constexpr AnimationOptions transitionFlipFromRight = 2u << 20;
    static constexpr AnimationOptions transitionCurlUp = 3u << 20;
    static constexpr AnimationOptions transitionCurlDown = 4u << 20;
    static constexpr AnimationOptions transitionCrossDissolve = 5u << 20;
    static constexpr AnimationOptions transitionFlipFromTop = 6u << 20;
    static constexpr AnimationOptions transitionFlipFromBottom = 7u << 20;
};

// View animations. Nothing moves on a headless screen, so the animation block runs at once and
// its final values hold from then on; the completion runs on the main run loop once the delay
// and duration have passed on its clock (on the next turn when they are zero), with finished true.
class Animation {
  public:
    using Block = std::function<void()>;
    using Completion = std::function<void(bool finished)>;

    static void animate(double duration, Block animations, Completion completion = {});
    static void animate(double duration, double delay, AnimationOptions options, Block animations,
                        Completion completion = {});
    static void animateWithSpring(double duration, double delay, double dampingRatio,
                                  double initialVelocity, AnimationOptions options,
                                  Block animations, Completion completion = {});
    // Changes a view's content under a transition (cross-dissolve, flip) named in the options.
    static void transition(const std::shared_ptr<View>& view, double duration,
                           AnimationOptions options, Block animations, Completion completion = {});
    // Puts toView in fromView's place in its superview.
    static void transition(const std::shared_ptr<View>& fromView,
                           const std::shared_ptr<View>& toView, double duration,
                           AnimationOptions options, Completion completion = {});
    static void performWithoutAnimation(const Block& actions) { actions(); }

    // Animations started and not yet completed.
    static int runningCount();

  private:
    static void finishAfter(double seconds, Completion completion);
};

}  // namespace uikit
