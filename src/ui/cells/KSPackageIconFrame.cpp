#include "ui/cells/KSPackageIconFrame.h"

#include "ui/palette/KSPaletteManager.h"
#include "uikit/Screen.h"

namespace corvane {

void KSPackageIconFrame::apply(uikit::ImageView& iconView) {
    auto& layer = iconView.layer();
    layer.setContinuousCorners(true);
    layer.setCornerRadius(kCornerRadiusRatio * iconView.frame().height());
    layer.setBorderColor(KSPaletteManager::isDarkMode() ? uikit::Color::darkGray()
                                                        : uikit::Color::lightGray());
    layer.setBorderWidth(1.0 / uikit::Screen::main().scale());
    iconView.setClipsToBounds(true);
}

}  // namespace corvane
