#include "uikit/Switch.h"

namespace uikit {

Switch::Switch() {
    setFrame({0, 0, 51, 31});
}

void Switch::didTapInside(const Touch& touch) {
    on_ = !on_;
    sendActions(ControlEvent::valueChanged);
}

}  // namespace uikit
