#pragma once

#include <memory>

#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/LayoutConstraint.h"
#include "uikit/TableViewCell.h"

namespace corvane {

// A row of the category lists.
class CategoriesCell : public uikit::TableViewCell {
  public:
    static constexpr const char* kNibName = "CategoriesCell";

    CategoriesCell() = default;
    // Makes the nib "CategoriesCell" known; later calls change nothing.
    static void registerNib();

    // The cell's own image view shows Other for 0 and 4, Updated for 1 and 3, Installed for 2;
    // any other type leaves it as it is.
    void setCategoriesType(int type);

    // Outlets, set by the nib.
    std::shared_ptr<uikit::View> separator;
    std::shared_ptr<uikit::LayoutConstraint> separatorTrailingConstraint;
    std::shared_ptr<uikit::ImageView> iconView;
    std::shared_ptr<uikit::Label> nameLbl;

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>&);
};

}  // namespace corvane
