#include "ui/settings/KSUIPickerCell.h"

#include <algorithm>

#include "foundation/Localization.h"

namespace corvane {

using uikit::TableViewCell;

KSUIPickerCell::KSUIPickerCell(const std::string& reuseIdentifier)
    : TableViewCell(TableViewCell::Style::value1, reuseIdentifier) {}

std::shared_ptr<KSUIPickerCell> KSUIPickerCell::initWithStyle(TableViewCell::Style,
                                                              const std::string& reuseIdentifier) {
    auto cell = std::make_shared<KSUIPickerCell>(reuseIdentifier);
    cell->initialize();
    return cell;
}

void KSUIPickerCell::initialize() {
    doneLabel_ = std::make_shared<uikit::Label>();
    doneLabel_->setText(foundation::localized("Select"));
    doneLabel_->setFont(uikit::Font::systemFont(17));
    doneLabel_->setTextAlignment(uikit::TextAlignment::right);
    doneLabel_->setUserInteractionEnabled(false);
    doneLabel_->setHidden(true);
    contentView()->addSubview(doneLabel_);

    picker_ = std::make_shared<uikit::PickerView>();
    picker_->setHidden(true);
    auto self = std::static_pointer_cast<KSUIPickerCell>(shared_from_this());
    picker_->setDelegate(std::weak_ptr<uikit::PickerViewDelegate>(self));
    picker_->setDataSource(std::weak_ptr<uikit::PickerViewDataSource>(self));
    contentView()->addSubview(picker_);
    expandedHeight_ = kDefaultExpandedHeight;
}

int KSUIPickerCell::rowCount() const {
    return static_cast<int>(std::min(titleSource_.size(), valueSource_.size()));
}

void KSUIPickerCell::setTitleSource(std::vector<std::string> titles) {
    titleSource_ = std::move(titles);
    picker_->reloadAllComponents();
    setSelectedIndex(selectedIndex_);
}

void KSUIPickerCell::setValueSource(std::vector<foundation::Value> values) {
    valueSource_ = std::move(values);
    picker_->reloadAllComponents();
    setSelectedIndex(selectedIndex_);
}

void KSUIPickerCell::setButtonTextColor(std::optional<uikit::Color> color) {
    buttonTextColor_ = color;
    doneLabel_->setTextColor(color);
}

void KSUIPickerCell::setSelectedIndex(int index) {
    selectedIndex_ = index;
    if (isRow(selectedIndex_))
        picker_->selectRow(selectedIndex_, 0, false);
}

void KSUIPickerCell::selectValue(const foundation::Value& value) {
    auto end = valueSource_.begin() + rowCount();
    auto found = std::find(valueSource_.begin(), end, value);
    setSelectedIndex(found == end ? kNoSelection : static_cast<int>(found - valueSource_.begin()));
}

void KSUIPickerCell::selectTitle(const std::string& title) {
    auto end = titleSource_.begin() + rowCount();
    auto found = std::find(titleSource_.begin(), end, title);
    setSelectedIndex(found == end ? kNoSelection : static_cast<int>(found - titleSource_.begin()));
}

std::optional<foundation::Value> KSUIPickerCell::currentValue() const {
    if (!isRow(selectedIndex_))
        return std::nullopt;
    return valueSource_[selectedIndex_];
}

std::optional<std::string> KSUIPickerCell::currentTitle() const {
    if (!isRow(selectedIndex_))
        return std::nullopt;
    return titleSource_[selectedIndex_];
}

std::optional<uikit::AttributedString> KSUIPickerCell::attributedTitleForRow(uikit::PickerView&,
                                                                             int row, int) {
    if (!isRow(row))
        return std::nullopt;
    uikit::TextAttributes attributes;
    attributes.foregroundColor = primaryTextColor_;
    return uikit::AttributedString(titleSource_[row], attributes);
}

void KSUIPickerCell::didSelectRow(uikit::PickerView&, int row, int) {
    if (!isRow(row))
        return;
    selectedIndex_ = row;
    if (auto delegate = this->delegate())
        delegate->pickerCellDidPickRow(*this, row, valueSource_[row]);
}

void KSUIPickerCell::setSelectedWithTableView(const std::shared_ptr<uikit::TableView>& tableView) {
    auto keepAlive = shared_from_this();
    expanded_ = !expanded_;
    showExpansion();
    if (!expanded_ && isRow(selectedIndex_)) {
        if (auto delegate = this->delegate())
            delegate->pickerCellDidFinalizeSelectionWithRow(*this, selectedIndex_,
                                                            valueSource_[selectedIndex_]);
    }
    if (tableView)
        makeRoom(*tableView);
}

void KSUIPickerCell::showExpansion() {
    textLabel()->setHidden(expanded_);
    detailTextLabel()->setHidden(expanded_);
    picker_->setHidden(!expanded_);
    doneLabel_->setHidden(!expanded_);
    detailTextLabel()->setText(currentTitle().value_or(""));
    setNeedsLayout();
}

void KSUIPickerCell::makeRoom(uikit::TableView& tableView) {
    // The table asks again for the heights of the rows an update changes only, so the update
    // reloads this row; the table hands this same cell back for it.
    resizing_ = true;
    tableView.beginUpdates();
    if (auto indexPath = tableView.indexPathForCell(*this))
        tableView.reloadRows({*indexPath}, uikit::TableView::RowAnimation::none);
    tableView.endUpdates();
    resizing_ = false;
}

void KSUIPickerCell::layoutSubviews() {
    TableViewCell::layoutSubviews();
    const uikit::Rect content = contentView()->bounds();
    const uikit::EdgeInsets margins = contentView()->layoutMargins();
    const double left = content.minX() + margins.left;
    const double width = std::max(0.0, content.width() - margins.left - margins.right);
    const double top = content.minY() + margins.top;
    doneLabel_->setFrame({left, top, width, kCollapsedHeight});
    picker_->setFrame(
        {left, top + kCollapsedHeight, width, picker_->intrinsicContentSize().height});
}

}  // namespace corvane
