#include "uikit/AlertControllerView.h"

#include <algorithm>

#include "uikit/Button.h"
#include "uikit/Canvas.h"

namespace uikit {

namespace {

constexpr double kRowPadding = 8;
constexpr double kCardRadius = 13;
const Color kDimming = Color::white(0, 0.4);
const Color kCard = Color::white(0.97);
const Color kSeparator = Color::white(0, 0.2);

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

// The screen behind is dimmed; the card is drawn under its rows, with a line above each button.
void AlertControllerView::draw(Canvas& canvas) {
    canvas.fill(bounds(), kDimming);
    if (subviews().empty())
        return;
    Rect card = subviews().front()->frame();
    for (const auto& subview : subviews())
        card = card.unionWith(subview->frame());
    canvas.fill(card, kCard, kCardRadius);
    double hairline = 1 / canvas.scale();
    for (const auto& subview : subviews()) {
        if (!dynamic_cast<const Button*>(subview.get()))
            continue;
        Rect row = subview->frame();
        canvas.fill({row.minX(), row.minY(), row.width(), hairline}, kSeparator);
    }
}

}  // namespace uikit
