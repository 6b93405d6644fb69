#include "ui/extensions/ColorExtensions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "foundation/Strings.h"

namespace corvane {

namespace {

// Reads as a scanner of hexadecimal integers does: the result saturates instead of wrapping.
std::uint32_t scanHexInt(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
        foundation::hexDigitValue(text[2]))
        text.remove_prefix(2);
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t value = 0;
    for (char c : text) {
        auto digit = foundation::hexDigitValue(c);
        if (!digit)
            break;
        value = std::min(value * 16 + *digit, kMax + 1);
    }
    return static_cast<std::uint32_t>(std::min(value, kMax));
}

}  // namespace

uikit::Color colorWithHexString(std::string_view hexString, double alpha) {
    hexString.remove_prefix(std::min(hexString.find_first_not_of('#'), hexString.size()));
    std::uint32_t rgb = scanHexInt(hexString);
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}

uikit::Color lerpToColor(const uikit::Color& from, const uikit::Color& to, double fraction) {
    double f = fraction >= 0 ? std::min(fraction, 1.0) : 0.0;  // NaN counts as 0
    auto mix = [f](double own, double other) { return own + f * (other - own); };
    return {mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue()),
            mix(from.alpha(), to.alpha())};
}

uikit::Color readableForegroundColorForBackgroundColor(const uikit::Color& background) {
    // On the 0-255 scale of the bytes the colour came from.
    auto scaled = [](double component) { return std::round(component * 255); };
    const double brightness = (scaled(background.red()) * 299 + scaled(background.green()) * 587 +
                               scaled(background.blue()) * 114) /
                              1000;
    return brightness >= 200 ? uikit::Color::black() : uikit::Color::white();
}

}  // namespace corvane
