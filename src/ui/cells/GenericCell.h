#pragma once

#include <memory>

#include "uikit/TableViewCell.h"

namespace corvane {

// A plain row of text: the table cell's own text label, which its screen fills and styles.
class GenericCell : public uikit::TableViewCell {
  public:
    static constexpr const char* kNibName = "GenericCell";

    GenericCell() = default;
    // Makes the nib "GenericCell" known; later calls change nothing.
    static void registerNib();

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>&);
};

}  // namespace corvane
