#pragma once

#include <memory>

#include "uikit/CollectionViewCell.h"
#include "uikit/ImageView.h"

namespace corvane {

// One screenshot of the package page and of the screenshots pager.
class ScreenshotsCell : public uikit::CollectionViewCell {
  public:
    static constexpr const char* kNibName = "ScreenshotsCell";

    ScreenshotsCell() = default;
    // Makes the nib "ScreenshotsCell" known; later calls change nothing.
    static void registerNib();

    // Outlet, set by the nib: fills the cell.
    std::shared_ptr<uikit::ImageView> screenshotImageView;

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>&);
};

}  // namespace corvane
