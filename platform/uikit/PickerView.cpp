#include "uikit/PickerView.h"

#include <algorithm>

#include "uikit/Canvas.h"
#include "uikit/DescribeText.h"
#include "uikit/TextPainter.h"

namespace uikit {

namespace {

constexpr double kRowHeight = 32;
constexpr int kRowsAround = 3;
const Font kRowFont = Font::systemFont(21);
const Color kSelectionLine = Color::white(0, 0.2);

}  // namespace

void PickerView::setDataSource(std::weak_ptr<PickerViewDataSource> source) {
    dataSource_ = std::move(source);
    reloadAllComponents();
}

int PickerView::numberOfRows(int component) const {
    if (component < 0 || component >= numberOfComponents())
        return 0;
    return rowCounts_[component];
}

void PickerView::reloadAllComponents() {
    auto source = dataSource();
    int components = source ? std::max(0, source->numberOfComponents(*this)) : 0;
    rowCounts_.assign(components, 0);
    selected_.resize(components, 0);
    for (int c = 0; c < components; ++c)
        reloadComponent(c);
}

void PickerView::reloadComponent(int component) {
    auto source = dataSource();
    if (!source || component < 0 || component >= numberOfComponents())
        return;
    int rows = std::max(0, source->numberOfRows(*this, component));
    rowCounts_[component] = rows;
    selected_[component] = rows == 0 ? -1 : std::clamp(selected_[component], 0, rows - 1);
}

void PickerView::selectRow(int row, int component, bool animated) {
    if (row < 0 || row >= numberOfRows(component))
        return;
    selected_[component] = row;
}

int PickerView::selectedRow(int component) const {
    if (component < 0 || component >= numberOfComponents())
        return -1;
    return selected_[component];
}

std::optional<std::string> PickerView::titleForRow(int row, int component) {
    auto delegate = this->delegate();
    if (!delegate || row < 0 || row >= numberOfRows(component))
        return std::nullopt;
    if (auto attributed = delegate->attributedTitleForRow(*this, row, component))
        return attributed->string();
    return delegate->titleForRow(*this, row, component);
}

void PickerView::spinToRow(int row, int component) {
    if (row < 0 || row >= numberOfRows(component))
        return;
    selected_[component] = row;
    if (auto delegate = this->delegate())
        delegate->didSelectRow(*this, row, component);
}

// The wheels at rest: each selected row between two lines, the rows around it fading away.
void PickerView::draw(Canvas& canvas) {
    const Rect& area = bounds();
    if (numberOfComponents() == 0)
        return;
    double width = area.width() / numberOfComponents();
    canvas.save();
    canvas.clipToRect(area);
    for (int c = 0; c < numberOfComponents(); ++c)
        drawComponent(canvas, c, {area.minX() + width * c, area.minY(), width, area.height()});
    canvas.restore();
    double hairline = 1 / canvas.scale();
    for (double y : {area.midY() - kRowHeight / 2, area.midY() + kRowHeight / 2})
        canvas.fill({area.minX(), y, area.width(), hairline}, kSelectionLine);
}

void PickerView::drawComponent(Canvas& canvas, int component, const Rect& column) {
    auto delegate = this->delegate();
    int selected = selectedRow(component);
    if (!delegate || selected < 0)
        return;
    for (int offset = -kRowsAround; offset <= kRowsAround; ++offset) {
        int row = selected + offset;
        if (row < 0 || row >= numberOfRows(component))
            continue;
        auto text = delegate->attributedTitleForRow(*this, row, component);
        if (!text) {
            auto title = delegate->titleForRow(*this, row, component);
            if (!title)
                continue;
            text = AttributedString(*title);
        }
        double top = column.midY() + offset * kRowHeight - kRowHeight / 2;
        auto placement =
            TextLayout::place(*text, kRowFont, column.width(), 1, LineBreakMode::byTruncatingTail);
        double fade = 1.0 - 0.25 * std::abs(offset);
        canvas.beginLayer();
        TextPainter::draw(canvas, *text, placement, kRowFont, Color::black(),
                          {{column.minX(), top + (kRowHeight - placement.metrics.size.height) / 2},
                           column.width(),
                           TextAlignment::center});
        canvas.endLayer(fade);
    }
}

std::string PickerView::describeSelf() const {
    std::string line = "PickerView [";
    auto* self = const_cast<PickerView*>(this);
    for (int c = 0; c < numberOfComponents(); ++c) {
        if (c > 0)
            line += ", ";
        line += quotedForDescription(self->titleForRow(selected_[c], c).value_or(""));
    }
    return line + "]";
}

}  // namespace uikit
