#include "app/tabs/KSTabPlaceholderViewController.h"

namespace corvane {

void KSTabPlaceholderViewController::paletteDidChange(const KSPalette& palette) {
    if (auto view = viewIfLoaded())
        view->setBackgroundColor(palette.backgroundColor());
}

}  // namespace corvane
