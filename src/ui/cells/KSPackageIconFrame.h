#pragma once

#include "uikit/ImageView.h"

namespace corvane {

// The frame of a package icon in a row: continuous corners of a quarter of its height and a
// one-pixel border, darker in the dark palettes.
class KSPackageIconFrame {
  public:
    static constexpr double kCornerRadiusRatio = 0.25;

    static void apply(uikit::ImageView& iconView);
};

}  // namespace corvane
