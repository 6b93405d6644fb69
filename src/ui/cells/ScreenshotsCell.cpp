#include "ui/cells/ScreenshotsCell.h"

#include "ui/cells/KSCellViews.h"
#include "uikit/NibRegistry.h"

namespace corvane {

void ScreenshotsCell::registerNib() {
    uikit::NibRegistry::shared().registerNib(kNibName, &build);
}

std::shared_ptr<uikit::View> ScreenshotsCell::build(const std::shared_ptr<uikit::ViewController>&) {
    auto cell = std::make_shared<ScreenshotsCell>();
    cell->setFrame({0, 0, 200, 356});
    auto& content = *cell->contentView();
    content.setFrame(cell->bounds());
    cell->screenshotImageView = KSCellViews::imageView(content, cell->bounds());
    cell->screenshotImageView->setContentMode(uikit::ContentMode::scaleAspectFit);
    cell->screenshotImageView->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                                                   uikit::Autoresizing::flexibleHeight);
    cell->screenshotImageView->layer().setCornerRadius(10);
    cell->screenshotImageView->setClipsToBounds(true);
    return cell;
}

}  // namespace corvane
