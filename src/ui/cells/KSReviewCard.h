#pragma once

#include <array>
#include <memory>

#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/View.h"

namespace corvane {

// The parts of a review as the two review cells lay them out in their card: title, reviewer,
// five rating steps, votes and the comment.
struct KSReviewCard {
    std::shared_ptr<uikit::Label> titleLbl;
    std::shared_ptr<uikit::Label> nameLbl;
    std::array<std::shared_ptr<uikit::ImageView>, 5> rating;
    std::shared_ptr<uikit::Label> voteLbl;
    std::shared_ptr<uikit::Label> commentLbl;

    // Builds the parts into the card, which is width points wide.
    static KSReviewCard build(uikit::View& card, double width);

    // Hands the parts to a cell's outlets of the same names.
    template <typename Cell>
    void connect(Cell& cell) const {
        cell.titleLbl = titleLbl;
        cell.nameLbl = nameLbl;
        cell.rating1 = rating[0];
        cell.rating2 = rating[1];
        cell.rating3 = rating[2];
        cell.rating4 = rating[3];
        cell.rating5 = rating[4];
        cell.voteLbl = voteLbl;
        cell.commentLbl = commentLbl;
    }
};

}  // namespace corvane
