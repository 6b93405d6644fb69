#include "ui/cells/MultiLineHeaderFooterView.h"

namespace corvane {

MultiLineHeaderFooterView::MultiLineHeaderFooterView(Style, std::string reuseIdentifier)
    : uikit::TableViewCell(Style::subtitle, std::move(reuseIdentifier)) {
    for (const auto& label : {textLabel(), detailTextLabel()}) {
        label->setNumberOfLines(0);
        label->setLineBreakMode(uikit::LineBreakMode::byWordWrapping);
    }
}

}  // namespace corvane
