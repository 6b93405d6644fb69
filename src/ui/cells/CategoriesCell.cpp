#include "ui/cells/CategoriesCell.h"

#include "ui/cells/KSCellViews.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"

namespace corvane {

namespace {

constexpr double kRowHeight = 50;
constexpr double kInset = 16;
constexpr double kIconSize = 30;

struct CategoryImages {
    std::shared_ptr<uikit::Image> other = uikit::Image::named("KSCAT_Other.png");
    std::shared_ptr<uikit::Image> updated = uikit::Image::named("KSCAT_Updated.png");
    std::shared_ptr<uikit::Image> installed = uikit::Image::named("KSCAT_Installed.png");
};

// Loaded once for the whole process.
const CategoryImages& categoryImages() {
    static const CategoryImages images;
    return images;
}

}  // namespace

void CategoriesCell::registerNib() {
    uikit::NibRegistry::shared().registerNib(kNibName, &build);
}

std::shared_ptr<uikit::View> CategoriesCell::build(const std::shared_ptr<uikit::ViewController>&) {
    auto cell = std::make_shared<CategoriesCell>();
    const double width = uikit::Screen::main().bounds().width();
    cell->setFrame({0, 0, width, kRowHeight});
    auto& content = *cell->contentView();
    content.setFrame(cell->bounds());
    const double textX = kInset + kIconSize + 12;
    cell->iconView = KSCellViews::imageView(
        content, {kInset, (kRowHeight - kIconSize) / 2, kIconSize, kIconSize});
    cell->nameLbl = KSCellViews::label(content, {textX, 15, width - textX - kInset, 20},
                                       uikit::Font::systemFont(17));
    cell->separator = KSCellViews::separator(content, textX);
    cell->separatorTrailingConstraint =
        content.trailingAnchor().constraintEqualTo(cell->separator->trailingAnchor());
    cell->separatorTrailingConstraint->setActive(true);
    return cell;
}

void CategoriesCell::setCategoriesType(int type) {
    const auto& images = categoryImages();
    switch (type) {
        case 0:
        case 4:
            imageView()->setImage(images.other);
            break;
        case 1:
        case 3:
            imageView()->setImage(images.updated);
            break;
        case 2:
            imageView()->setImage(images.installed);
            break;
        default:
            break;
    }
}

}  // namespace corvane
