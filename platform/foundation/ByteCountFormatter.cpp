#include "foundation/ByteCountFormatter.h"

#include <cmath>
#include <cstdio>
#include <iterator>

namespace foundation {

namespace {

struct Unit {
    const char* name;
    int decimals;
};

constexpr Unit kUnits[] = {{"KB", 0}, {"MB", 1}, {"GB", 2}, {"TB", 2}, {"PB", 2}, {"EB", 2}};

std::string numberText(double number, int decimals) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, number);
    std::string text = buffer;
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return text;
}

}  // namespace

std::string ByteCountFormatter::stringFromByteCount(std::int64_t byteCount) {
    if (byteCount == 0)
        return "Zero KB";
    std::string sign = byteCount < 0 ? "-" : "";
    double magnitude = std::fabs(static_cast<double>(byteCount));
    if (magnitude < 1000)
        return sign + numberText(magnitude, 0) + (magnitude == 1 ? " byte" : " bytes");

    double scaled = magnitude / 1000;
    for (std::size_t i = 0;; ++i, scaled /= 1000) {
        const Unit& unit = kUnits[i];
        double factor = std::pow(10, unit.decimals);
        double rounded = std::round(scaled * factor) / factor;
        if (rounded < 1000 || i + 1 == std::size(kUnits))
            return sign + numberText(rounded, unit.decimals) + " " + unit.name;
    }
}

}  // namespace foundation
