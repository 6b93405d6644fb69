#pragma once

#include "foundation/Value.h"

namespace corvane {

class KSUIPickerCell;

// Hears what a person picks in an inline picker row. Both calls are optional.
class KSPickerCellDelegate {
  public:
    virtual ~KSPickerCellDelegate() = default;

    // Each row the wheel comes to rest on while it is open.
    virtual void pickerCellDidPickRow(KSUIPickerCell& cell, int row,
                                      const foundation::Value& value) {}
    // The choice standing when the picker closes.
    virtual void pickerCellDidFinalizeSelectionWithRow(KSUIPickerCell& cell, int row,
                                                       const foundation::Value& value) {}
};

}  // namespace corvane
