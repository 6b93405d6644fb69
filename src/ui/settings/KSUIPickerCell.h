#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Value.h"
#include "ui/settings/KSPickerCellDelegate.h"
#include "uikit/Label.h"
#include "uikit/PickerView.h"
#include "uikit/PickerViewDataSource.h"
#include "uikit/PickerViewDelegate.h"
#include "uikit/TableView.h"
#include "uikit/TableViewCell.h"

namespace corvane {

// An inline picker row: 44 points showing the chosen title, which a tap opens in place to a
// wheel with a "Select" label above it, and which reports the final choice when it closes.
//
// Each row of the wheel is one title with its value; titles or values beyond the shorter list
// are not offered. With nothing chosen (a value that is not in the list) the row shows no title
// and closing reports nothing.
class KSUIPickerCell : public uikit::TableViewCell,
                       public uikit::PickerViewDataSource,
                       public uikit::PickerViewDelegate {
  public:
    static constexpr double kCollapsedHeight = 44;
    static constexpr double kDefaultExpandedHeight = 260;
    static constexpr int kNoSelection = -1;

    // Always the value1 style (title left, chosen title right), whatever style is asked for.
    static std::shared_ptr<KSUIPickerCell> initWithStyle(uikit::TableViewCell::Style style,
                                                         const std::string& reuseIdentifier);

    // Opens or closes the wheel. With a table, the table makes room for the new height.
    void setSelectedWithTableView(const std::shared_ptr<uikit::TableView>& tableView);
    bool isExpanded() const { return expanded_; }
    // True while the cell's own row is laid out again for its new height.
    bool isResizing() const { return resizing_; }
    double heightForCell() const { return expanded_ ? expandedHeight_ : kCollapsedHeight; }

    std::shared_ptr<KSPickerCellDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<KSPickerCellDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    const std::vector<std::string>& titleSource() const { return titleSource_; }
    void setTitleSource(std::vector<std::string> titles);
    const std::vector<foundation::Value>& valueSource() const { return valueSource_; }
    void setValueSource(std::vector<foundation::Value> values);
    double expandedHeight() const { return expandedHeight_; }
    void setExpandedHeight(double height) { expandedHeight_ = height; }

    int selectedIndex() const { return selectedIndex_; }
    // An index outside the rows leaves nothing chosen (until the sources grow to it).
    void setSelectedIndex(int index);
    void selectValue(const foundation::Value& value);
    void selectTitle(const std::string& title);
    // Nothing when nothing is chosen.
    std::optional<foundation::Value> currentValue() const;
    std::optional<std::string> currentTitle() const;

    const std::optional<uikit::Color>& primaryTextColor() const { return primaryTextColor_; }
    void setPrimaryTextColor(std::optional<uikit::Color> color) { primaryTextColor_ = color; }
    // Kept for callers; nothing shows it.
    const std::optional<uikit::Color>& secondaryTextColor() const { return secondaryTextColor_; }
    void setSecondaryTextColor(std::optional<uikit::Color> color) { secondaryTextColor_ = color; }
    const std::optional<uikit::Color>& buttonTextColor() const { return buttonTextColor_; }
    void setButtonTextColor(std::optional<uikit::Color> color);

    const std::shared_ptr<uikit::PickerView>& picker() const { return picker_; }
    const std::shared_ptr<uikit::Label>& doneLabel() const { return doneLabel_; }

    int numberOfComponents(uikit::PickerView& picker) override { return 1; }
    int numberOfRows(uikit::PickerView& picker, int component) override { return rowCount(); }
    std::optional<uikit::AttributedString> attributedTitleForRow(uikit::PickerView& picker, int row,
                                                                 int component) override;
    void didSelectRow(uikit::PickerView& picker, int row, int component) override;

    void layoutSubviews() override;

    // Public for std::make_shared; use initWithStyle.
    explicit KSUIPickerCell(const std::string& reuseIdentifier);

  private:
    void initialize();
    int rowCount() const;
    bool isRow(int index) const { return index >= 0 && index < rowCount(); }
    void showExpansion();
    void makeRoom(uikit::TableView& tableView);

    bool expanded_ = false;
    bool resizing_ = false;
    std::shared_ptr<uikit::Label> doneLabel_;
    std::shared_ptr<uikit::PickerView> picker_;
    std::weak_ptr<KSPickerCellDelegate> delegate_;
    std::vector<std::string> titleSource_;
    std::vector<foundation::Value> valueSource_;
    double expandedHeight_ = kDefaultExpandedHeight;
    int selectedIndex_ = 0;
    std::optional<uikit::Color> primaryTextColor_;
    std::optional<uikit::Color> secondaryTextColor_;
    std::optional<uikit::Color> buttonTextColor_;
};

}  // namespace corvane
