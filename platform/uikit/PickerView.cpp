#include "uikit/PickerView.h"

#include <algorithm>

#include "uikit/DescribeText.h"

namespace uikit {

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
