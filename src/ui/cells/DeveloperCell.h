#pragma once

#include <memory>

#include "uikit/CollectionViewCell.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"

namespace corvane {

// The developer item of the package page; the page fills it.
class DeveloperCell : public uikit::CollectionViewCell {
  public:
    static constexpr const char* kNibName = "DeveloperCell";

    DeveloperCell() = default;
    // Makes the nib "DeveloperCell" known; later calls change nothing.
    static void registerNib();

    // Outlets, set by the nib.
    std::shared_ptr<uikit::ImageView> developerIconView;
    std::shared_ptr<uikit::Label> developerTitle;
    std::shared_ptr<uikit::Label> developerNameLbl;

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>&);
};

}  // namespace corvane
