#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/PickerViewDataSource.h"
#include "uikit/PickerViewDelegate.h"
#include "uikit/View.h"

namespace uikit {

// Spinning wheels of rows, one per component, asking a data source and a delegate.
class PickerView : public View {
  public:
    std::shared_ptr<PickerViewDataSource> dataSource() const { return dataSource_.lock(); }
    void setDataSource(std::weak_ptr<PickerViewDataSource> source);
    std::shared_ptr<PickerViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<PickerViewDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    // As the data source last answered (reloadAllComponents asks again).
    int numberOfComponents() const { return static_cast<int>(rowCounts_.size()); }
    int numberOfRows(int component) const;
    void reloadAllComponents();
    void reloadComponent(int component);
    // From code: the delegate is not told, as the system does. Out of range is ignored.
    void selectRow(int row, int component, bool animated = false);
    // -1 when the component has no rows.
    int selectedRow(int component) const;
    // The row's title as the delegate gives it (attributed first), or nothing.
    std::optional<std::string> titleForRow(int row, int component);
    // A person turns a wheel to the row: selects it and tells the delegate.
    void spinToRow(int row, int component);

    Size intrinsicContentSize() const override { return {320, 216}; }
    void draw(Canvas& canvas) override;

  protected:
    std::string describeSelf() const override;

  private:
    void drawComponent(Canvas& canvas, int component, const Rect& column);

    std::weak_ptr<PickerViewDataSource> dataSource_;
    std::weak_ptr<PickerViewDelegate> delegate_;
    std::vector<int> rowCounts_;
    std::vector<int> selected_;
};

}  // namespace uikit
