#include "webkit/WebPlaceholder.h"

#include <algorithm>

#include "uikit/TextLayout.h"
#include "uikit/TextPainter.h"

namespace webkit {

namespace {

constexpr double kMargin = 16;
constexpr int kMaxLines = 3;
const uikit::Color kPanel = uikit::Color::white(0.5, 0.08);
const uikit::Color kAddress = uikit::Color::white(0.5);
const uikit::Font kAddressFont = uikit::Font::systemFont(13);

}  // namespace

void WebPlaceholder::drawPanel(uikit::Canvas& canvas, const uikit::Rect& bounds) {
    canvas.fill(bounds, kPanel);
}

void WebPlaceholder::drawAddress(uikit::Canvas& canvas, const uikit::Rect& bounds,
                                 const std::optional<foundation::URL>& url) {
    if (!url || url->absoluteString().empty())
        return;
    double width = std::max(1.0, bounds.width() - 2 * kMargin);
    uikit::AttributedString text(url->absoluteString());
    auto placement = uikit::TextLayout::place(text, kAddressFont, width, kMaxLines,
                                              uikit::LineBreakMode::byTruncatingTail);
    double top = bounds.midY() - placement.metrics.size.height / 2;
    canvas.save();
    canvas.clipToRect(bounds);
    uikit::TextPainter::draw(canvas, text, placement, kAddressFont, kAddress,
                             {{bounds.minX() + kMargin, top}, width, uikit::TextAlignment::center});
    canvas.restore();
}

}  // namespace webkit
