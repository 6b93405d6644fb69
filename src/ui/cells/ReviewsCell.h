#pragma once

#include <memory>

#include "uikit/CollectionViewCell.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"

namespace corvane {

// A review of the package page's review strip; the page fills it.
class ReviewsCell : public uikit::CollectionViewCell {
  public:
    static constexpr const char* kNibName = "ReviewsCell";

    ReviewsCell() = default;
    // Makes the nib "ReviewsCell" known; later calls change nothing.
    static void registerNib();

    // Outlets, set by the nib; rating1 to rating5 are the five rating steps.
    std::shared_ptr<uikit::Label> titleLbl;
    std::shared_ptr<uikit::Label> nameLbl;
    std::shared_ptr<uikit::ImageView> rating1;
    std::shared_ptr<uikit::ImageView> rating2;
    std::shared_ptr<uikit::ImageView> rating3;
    std::shared_ptr<uikit::ImageView> rating4;
    std::shared_ptr<uikit::ImageView> rating5;
    std::shared_ptr<uikit::Label> voteLbl;
    std::shared_ptr<uikit::Label> commentLbl;

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>&);
};

}  // namespace corvane
