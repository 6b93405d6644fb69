#pragma once

#include "uikit/LongPressGestureRecognizer.h"

namespace corvane {

// The Get button's own long press, told apart from any other long press on the same button.
class HapticPressGestureRecognizer : public uikit::LongPressGestureRecognizer {
  public:
    using uikit::LongPressGestureRecognizer::LongPressGestureRecognizer;
};

}  // namespace corvane
