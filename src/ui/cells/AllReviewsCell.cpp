#include "ui/cells/AllReviewsCell.h"

#include "ui/cells/KSCellViews.h"
#include "ui/cells/KSReviewCard.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"

namespace corvane {

void AllReviewsCell::registerNib() {
    uikit::NibRegistry::shared().registerNib(kNibName, &build);
}

std::shared_ptr<uikit::View> AllReviewsCell::build(const std::shared_ptr<uikit::ViewController>&) {
    constexpr double kInset = 16;
    constexpr double kHeight = 150;
    auto cell = std::make_shared<AllReviewsCell>();
    const double width = uikit::Screen::main().bounds().width();
    cell->setFrame({0, 0, width, kHeight});
    auto& content = *cell->contentView();
    content.setFrame(cell->bounds());
    cell->view = KSCellViews::view(content, {kInset, 6, width - 2 * kInset, kHeight - 12});
    cell->view->setAutoresizingMask(uikit::Autoresizing::flexibleWidth);
    cell->view->layer().setCornerRadius(12);
    cell->view->setBackgroundColor(uikit::Color::white(0.96));
    KSReviewCard::build(*cell->view, width - 2 * kInset).connect(*cell);
    return cell;
}

}  // namespace corvane
