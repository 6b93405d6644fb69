#pragma once

#include <string>

namespace uikit {

// A colour as red, green, blue and alpha, each in 0...1 (values outside are clamped).
// A value type: "no colour" is std::optional<Color>.
class Color {
  public:
    Color() = default;
    Color(double red, double green, double blue, double alpha = 1.0);

    static Color white(double level, double alpha = 1.0) { return {level, level, level, alpha}; }

    static Color clear() { return {0, 0, 0, 0}; }
    static Color white() { return {1, 1, 1}; }
    static Color black() { return {0, 0, 0}; }
    static Color lightGray() { return white(2.0 / 3.0); }
    static Color gray() { return white(0.5); }
    static Color darkGray() { return white(1.0 / 3.0); }
    static Color lightText() { return white(1.0, 0.6); }
    static Color darkText() { return black(); }

    static Color systemGreen() { return fromBytes(52, 199, 89); }
    static Color systemRed() { return fromBytes(255, 59, 48); }
    static Color systemBlue() { return fromBytes(0, 122, 255); }
    static Color systemOrange() { return fromBytes(255, 149, 0); }
    static Color systemPurple() { return fromBytes(175, 82, 222); }
    static Color systemYellow() { return fromBytes(255, 204, 0); }
    static Color systemGray() { return fromBytes(142, 142, 147); }

    static Color fromBytes(int red, int green, int blue, double alpha = 1.0) {
        return {red / 255.0, green / 255.0, blue / 255.0, alpha};
    }

    double red() const { return red_; }
    double green() const { return green_; }
    double blue() const { return blue_; }
    double alpha() const { return alpha_; }
    Color withAlpha(double alpha) const { return {red_, green_, blue_, alpha}; }
    // The colour with its alpha multiplied by the factor.
    Color faded(double factor) const { return withAlpha(alpha_ * factor); }

    // "#RRGGBB", or "#RRGGBBAA" when not opaque.
    std::string toString() const;

    // Equal when every component agrees to within rounding noise (1e-9).
    bool operator==(const Color& other) const;

  private:
    double red_ = 0;
    double green_ = 0;
    double blue_ = 0;
    double alpha_ = 1;
};

}  // namespace uikit
