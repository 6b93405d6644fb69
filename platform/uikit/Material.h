#pragma once

#include <optional>

#include "uikit/BarStyle.h"
#include "uikit/Color.h"
#include "uikit/VisualEffectView.h"

namespace uikit {

// The fills the system paints bars and blurred backdrops with. Nothing is blurred here: a
// translucent material is its tint laid over what lies behind.
class Material {
  public:
    // A bar's fill: its tint colour (lighter when translucent), else the material of its style.
    static Color barFill(BarStyle style, bool translucent, const std::optional<Color>& barTint);
    // The line between a bar and the content.
    static Color hairline(BarStyle style);
    static Color blur(BlurEffectStyle style);
};

}  // namespace uikit
