#include "uikit/Screen.h"

#include "foundation/SharedInstance.h"

namespace uikit {

Screen& Screen::main() {
    static auto* screen = new foundation::SharedInstance<Screen>(
        [] { return std::shared_ptr<Screen>(new Screen()); });
    return screen->get();
}

Rect Screen::bounds() const {
    std::lock_guard lock(mutex_);
    return bounds_;
}

void Screen::setBounds(const Rect& bounds) {
    std::lock_guard lock(mutex_);
    bounds_ = bounds;
}

double Screen::scale() const {
    std::lock_guard lock(mutex_);
    return scale_;
}

void Screen::setScale(double scale) {
    std::lock_guard lock(mutex_);
    if (scale > 0)
        scale_ = scale;
}

}  // namespace uikit
