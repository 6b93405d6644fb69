#pragma once

#include <optional>
#include <string>

#include "uikit/AttributedString.h"

namespace uikit {

class PickerView;

// Every method is optional; an attributed title wins over a plain one.
class PickerViewDelegate {
  public:
    virtual ~PickerViewDelegate() = default;
    virtual std::optional<std::string> titleForRow(PickerView& picker, int row, int component) {
        return std::nullopt;
    }
    virtual std::optional<AttributedString> attributedTitleForRow(PickerView& picker, int row,
                                                                  int component) {
        return std::nullopt;
    }
    virtual void didSelectRow(PickerView& picker, int row, int component) {}
    virtual double rowHeightForComponent(PickerView& picker, int component) { return 32; }
};

}  // namespace uikit
