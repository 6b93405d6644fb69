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
};

}  // namespace corvane
