#include "uikit/AlertControllerView.h"

#include <algorithm>

namespace uikit {

namespace {

constexpr double kRowPadding = 8;

}  // namespace

void AlertControllerView::layoutSubviews() {
    double width = std::min(kCardWidth, bounds().width());
    double height = 0;
    std::vector<double> heights;
    for (const auto& subview : subviews()) {
        heights.push_back(subview->sizeThatFits({width, 0}).height + kRowPadding);
        height += heights.back();
    }
    double x = (bounds().width() - width) / 2;
    double y = actionSheet_ ? bounds().height() - height : (bounds().height() - height) / 2;
    for (std::size_t i = 0; i < subviews().size(); ++i) {
        subviews()[i]->setFrame({x, y, width, heights[i]});
        y += heights[i];
    }
}

}  // namespace uikit
