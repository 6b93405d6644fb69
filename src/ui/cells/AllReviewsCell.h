#pragma once

#include <memory>

#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/TableViewCell.h"

namespace corvane {

// A review card of the all-reviews list; the list fills it.
class AllReviewsCell : public uikit::TableViewCell {
  public:
    static constexpr const char* kNibName = "AllReviewsCell";

    AllReviewsCell() = default;
    // Makes the nib "AllReviewsCell" known; later calls change nothing.
    static void registerNib();

    // Outlets, set by the nib; rating1 to rating5 are the five rating steps.
    std::shared_ptr<uikit::View> view;
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
