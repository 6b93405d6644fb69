#include "ui/cells/DeveloperCell.h"

#include "ui/cells/KSCellViews.h"
#include "uikit/NibRegistry.h"

namespace corvane {

void DeveloperCell::registerNib() {
    uikit::NibRegistry::shared().registerNib(kNibName, &build);
}

std::shared_ptr<uikit::View> DeveloperCell::build(const std::shared_ptr<uikit::ViewController>&) {
    constexpr double kWidth = 160;
    constexpr double kHeight = 56;
    constexpr double kIconSize = 40;
    auto cell = std::make_shared<DeveloperCell>();
    cell->setFrame({0, 0, kWidth, kHeight});
    auto& content = *cell->contentView();
    content.setFrame(cell->bounds());
    cell->developerIconView = KSCellViews::imageView(content, {8, 8, kIconSize, kIconSize});
    cell->developerIconView->layer().setCornerRadius(kIconSize / 2);
    cell->developerIconView->setClipsToBounds(true);
    const double textX = 8 + kIconSize + 8;
    cell->developerTitle =
        KSCellViews::label(content, {textX, 10, kWidth - textX - 8, 16},
                           uikit::Font::systemFont(12), uikit::Color::white(0.45));
    cell->developerNameLbl = KSCellViews::label(content, {textX, 28, kWidth - textX - 8, 18},
                                                uikit::Font::boldSystemFont(14));
    return cell;
}

}  // namespace corvane
