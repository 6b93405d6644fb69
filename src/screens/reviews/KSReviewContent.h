#pragma once

#include <memory>
#include <optional>
#include <string>

#include "framework/webservice/KSReviews.h"
#include "uikit/AttributedString.h"
#include "uikit/Image.h"

namespace corvane {

// How a review reads in a review card: its title capitalised, its reviewer, as many filled stars
// as its rating, its votes up in red and down in blue, and its text. A review the developer
// answered says so above its own text, naming the package's maintainer.
class KSReviewContent {
  public:
    static constexpr double kCommentFontSize = 15;

    static uikit::AttributedString votes(const KSReviews& review);
    static uikit::AttributedString comment(const KSReviews& review,
                                           const std::optional<std::string>& maintainer);
    // The image of star index (from 0) for the rating.
    static std::shared_ptr<uikit::Image> star(int index, int rating);

    // Fills a cell with the outlets of a review card.
    template <typename Cell>
    static void fill(Cell& cell, const KSReviews& review,
                     const std::optional<std::string>& maintainer) {
        cell.titleLbl->setText(title(review));
        cell.nameLbl->setText(review.name);
        cell.voteLbl->setAttributedText(votes(review));
        cell.commentLbl->setAttributedText(comment(review, maintainer));
        int index = 0;
        for (auto* step :
             {&cell.rating1, &cell.rating2, &cell.rating3, &cell.rating4, &cell.rating5})
            (*step)->setImage(star(index++, review.rating));
    }

  private:
    static std::string title(const KSReviews& review);
};

}  // namespace corvane
