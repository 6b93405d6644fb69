#pragma once

namespace uikit {

class PickerView;

class PickerViewDataSource {
  public:
    virtual ~PickerViewDataSource() = default;
    virtual int numberOfComponents(PickerView& picker) = 0;
    virtual int numberOfRows(PickerView& picker, int component) = 0;
};

}  // namespace uikit
