#pragma once

#include <string>

#include "uikit/AttributedString.h"

namespace uikit {

class TextField;

class TextFieldDelegate {
  public:
    virtual ~TextFieldDelegate() = default;
    virtual bool textFieldShouldBeginEditing(TextField& field) { return true; }
    virtual void textFieldDidBeginEditing(TextField& field) {}
    virtual bool textFieldShouldEndEditing(TextField& field) { return true; }
    virtual void textFieldDidEndEditing(TextField& field) {}
    // Whether the text in the range (bytes) may be replaced by the string; refusing keeps it.
    virtual bool textFieldShouldChangeCharacters(TextField& field, TextRange range,
                                                 const std::string& replacement) {
        return true;
    }
    virtual bool textFieldShouldClear(TextField& field) { return true; }
    virtual bool textFieldShouldReturn(TextField& field) { return true; }
};

}  // namespace uikit
