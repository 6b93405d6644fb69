#pragma once

#include <memory>

#include "uikit/Geometry.h"

namespace uikit {

class View;

// One finger on the screen. Locations are in the coordinates of the root view of the touched
// tree (the window when there is one).
struct Touch {
    enum class Phase { began, moved, stationary, ended, cancelled };

    Phase phase = Phase::began;
    Point location;
    Point previousLocation;
    int tapCount = 1;
    double timestamp = 0;  // the run loop's clock
    double force = 0;
    // 0 means the device senses no pressure.
    double maximumPossibleForce = 0;
    std::weak_ptr<View> view;

    Point locationInView(const View* view) const;
};

}  // namespace uikit
