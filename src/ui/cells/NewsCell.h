#pragma once

#include <memory>

#include "uikit/Label.h"
#include "uikit/TableViewCell.h"

namespace corvane {

// A row of the news list; the list fills the labels.
class NewsCell : public uikit::TableViewCell {
  public:
    static constexpr const char* kNibName = "NewsCell";

    NewsCell() = default;
    // Makes the nib "NewsCell" known; later calls change nothing.
    static void registerNib();

    // Outlets, set by the nib.
    std::shared_ptr<uikit::Label> newsTitleLbl;
    std::shared_ptr<uikit::Label> newsAuthorLbl;
    std::shared_ptr<uikit::Label> newsDateLbl;
    std::shared_ptr<uikit::Label> newsContentLbl;
    std::shared_ptr<uikit::View> separator;

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>&);
};

}  // namespace corvane
