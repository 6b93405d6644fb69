#include "ui/cells/ReviewsCell.h"

#include "ui/cells/KSReviewCard.h"
#include "uikit/NibRegistry.h"

namespace corvane {

void ReviewsCell::registerNib() {
    uikit::NibRegistry::shared().registerNib(kNibName, &build);
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
    KSReviewCard::build(content, kWidth).connect(*cell);
    return cell;
}

}  // namespace corvane
