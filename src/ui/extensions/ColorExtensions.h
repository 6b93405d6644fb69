#pragma once

#include <string_view>

#include "uikit/Color.h"

namespace corvane {

// A colour from hex text: "#" characters are skipped, then one hexadecimal number is read (an
// optional "0x" first), whose lowest three bytes are red, green and blue. Text without a number
// gives black; a number too large for 32 bits reads as all ones. Never fails.
uikit::Color colorWithHexString(std::string_view hexString, double alpha = 1.0);

// The straight-line blend from one colour to the other, the fraction clamped to 0...1.
uikit::Color lerpToColor(const uikit::Color& from, const uikit::Color& to, double fraction);

// Black over a background whose perceived brightness is 200 of 255 or more, white otherwise.
uikit::Color readableForegroundColorForBackgroundColor(const uikit::Color& background);

}  // namespace corvane
