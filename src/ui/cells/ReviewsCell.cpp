#include "ui/cells/ReviewsCell.h"

#include <mutex>

#include "ui/cells/KSReviewCard.h"
#include "uikit/NibRegistry.h"

namespace corvane {

void ReviewsCell::registerNib() {
    static std::once_flag once;
    std::call_once(once, [] { uikit::NibRegistry::shared().registerNib(kNibName, &build); });
}

std::shared_ptr<uikit::View> ReviewsCell::build(const std::shared_ptr<uikit::ViewController>&) {
    constexpr double kWidth = 300;
    constexpr double kHeight = 150;
    auto cell = std::make_shared<ReviewsCell>();
    cell->setFrame({0, 0, kWidth, kHeight});
    auto& content = *cell->contentView();
    content.setFrame(cell->bounds());
    content.layer().setCornerRadius(12);
    content.setBackgroundColor(uikit::Color::white(0.96));
    auto parts = KSReviewCard::build(content, kWidth);
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
