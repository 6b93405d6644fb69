#pragma once

#include <string>

#include "uikit/AttributedString.h"
#include "uikit/ScrollViewDelegate.h"

namespace uikit {

class TextView;

enum class TextItemInteraction { invokeDefaultAction, presentActions, preview };

class TextViewDelegate : public ScrollViewDelegate {
  public:
    // Whether the text view may act on a tapped link (open it); the delegate may act itself
    // and refuse.
    virtual bool textViewShouldInteractWithURL(TextView& textView, const std::string& url,
                                               TextRange range, TextItemInteraction interaction) {
        return true;
    }
    virtual bool textViewShouldBeginEditing(TextView& textView) { return true; }
    virtual void textViewDidChange(TextView& textView) {}
};

}  // namespace uikit
