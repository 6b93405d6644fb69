#pragma once

#include <cstdint>

#include "uikit/GestureRecognizer.h"

namespace uikit {

using SwipeDirections = std::uint32_t;
struct SwipeDirection {
    static constexpr SwipeDirections right = 1u << 0;
    static constexpr SwipeDirections left = 1u << 1;
    static constexpr SwipeDirections up = 1u << 2;
    static constexpr SwipeDirections down = 1u << 3;
};

// Recognises a finger moved far enough, mostly along one of the allowed directions, and lifted.
class SwipeGestureRecognizer : public GestureRecognizer {
  public:
    static constexpr double kMinimumDistance = 50;

    using GestureRecognizer::GestureRecognizer;

    SwipeDirections direction() const { return direction_; }
    void setDirection(SwipeDirections direction) { direction_ = direction; }

    void touchesEnded(const std::vector<Touch>& touches) override;
    void touchesCancelled(const std::vector<Touch>& touches) override;

  private:
    SwipeDirections direction_ = SwipeDirection::right;
};

}  // namespace uikit
