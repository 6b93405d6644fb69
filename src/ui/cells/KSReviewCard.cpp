#include "ui/cells/KSReviewCard.h"

#include "ui/cells/KSCellViews.h"

namespace corvane {

using uikit::Color;
using uikit::Font;

KSReviewCard KSReviewCard::build(uikit::View& card, double width) {
    constexpr double kInset = 12;
    constexpr double kStar = 12;
    const double textWidth = width - 2 * kInset;
    KSReviewCard parts;
    parts.titleLbl =
        KSCellViews::label(card, {kInset, 10, textWidth, 20}, Font::boldSystemFont(15));
    parts.nameLbl = KSCellViews::label(card, {kInset, 30, textWidth, 16}, Font::systemFont(13),
                                       Color::white(0.45));
    for (std::size_t step = 0; step < parts.rating.size(); ++step)
        parts.rating[step] = KSCellViews::imageView(
            card, {kInset + static_cast<double>(step) * (kStar + 2), 50, kStar, kStar});
    parts.voteLbl = KSCellViews::label(card, {kInset + 5 * (kStar + 2) + 8, 48, 80, 16},
                                       Font::systemFont(12), Color::white(0.45));
    parts.commentLbl = KSCellViews::label(card, {kInset, 68, textWidth, 60}, Font::systemFont(14),
                                          Color::black(), 0);
    return parts;
}

}  // namespace corvane
