#pragma once

#include <string>

#include "uikit/TableViewCell.h"

namespace corvane {

// A section header or footer row whose text and detail wrap over as many lines as they need.
class MultiLineHeaderFooterView : public uikit::TableViewCell {
  public:
    // Always the subtitle style, whatever style is asked for.
    explicit MultiLineHeaderFooterView(Style style = Style::subtitle,
                                       std::string reuseIdentifier = {});
};

}  // namespace corvane
