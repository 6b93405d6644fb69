#include "uikit/Color.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace uikit {

namespace {

double clampComponent(double value) {
    if (std::isnan(value))
        return 0;
    return std::clamp(value, 0.0, 1.0);
}

int toByte(double component) {
    return static_cast<int>(std::lround(component * 255));
}

bool near(double a, double b) {
    return std::abs(a - b) < 1e-9;
}

}  // namespace

Color::Color(double red, double green, double blue, double alpha)
    : red_(clampComponent(red)),
      green_(clampComponent(green)),
      blue_(clampComponent(blue)),
      alpha_(clampComponent(alpha)) {}

std::string Color::toString() const {
    char buffer[16];
    if (toByte(alpha_) == 255)
        std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", toByte(red_), toByte(green_),
                      toByte(blue_));
    else
        std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X%02X", toByte(red_), toByte(green_),
                      toByte(blue_), toByte(alpha_));
    return buffer;
}

bool Color::operator==(const Color& o) const {
    return near(red_, o.red_) && near(green_, o.green_) && near(blue_, o.blue_) &&
           near(alpha_, o.alpha_);
}

}  // namespace uikit
