#pragma once

#include "ui/core/KSPalettedViewController.h"

namespace corvane {

// What a tab shows until its own screen exists: a paletted screen with the tab's title, on the
// palette's background.
class KSTabPlaceholderViewController : public KSPalettedViewController {
  protected:
    void paletteDidChange(const KSPalette& palette) override;
};

}  // namespace corvane
