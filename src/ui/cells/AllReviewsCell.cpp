#include "ui/cells/AllReviewsCell.h"

#include <mutex>

#include "ui/cells/KSCellViews.h"
#include "ui/cells/KSReviewCard.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"

namespace corvane {

void AllReviewsCell::registerNib() {
    static std::once_flag once;
    std::call_once(once, [] { uikit::NibRegistry::shared().registerNib(kNibName, &build); });
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
    auto parts = KSReviewCard::build(*cell->view, width - 2 * kInset);
    cell->titleLbl = parts.titleLbl;
    cell->nameLbl = parts.nameLbl;
    cell->rating1 = parts.rating[0];
    cell->rating2 = parts.rating[1];
    cell->rating3 = parts.rating[2];
    cell->rating4 = parts.rating[3];
    cell->rating5 = parts.rating[4];
    cell->voteLbl = parts.voteLbl;
    cell->commentLbl = parts.commentLbl;
    return cell;
}

}  // namespace corvane
