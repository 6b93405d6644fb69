#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "uikit/AttributedString.h"
#include "uikit/ScrollView.h"
#include "uikit/TextViewDelegate.h"

namespace uikit {

// Scrollable text, attributed, with links that a tap hands to the delegate.
class TextView : public ScrollView {
  public:
    TextView() = default;
    explicit TextView(const Rect& frame) : ScrollView(frame) {}

    const std::string& text() const { return attributedText_.string(); }
    void setText(const std::string& text);
    const AttributedString& attributedText() const { return attributedText_; }
    void setAttributedText(AttributedString text);
    const Font& font() const { return font_; }
    void setFont(const Font& font) { font_ = font; }
    const Color& textColor() const { return textColor_; }
    void setTextColor(const Color& color) { textColor_ = color; }
    TextAlignment textAlignment() const { return textAlignment_; }
    void setTextAlignment(TextAlignment alignment) { textAlignment_ = alignment; }
    bool isEditable() const { return editable_; }
    void setEditable(bool editable) { editable_ = editable; }
    bool isSelectable() const { return selectable_; }
    void setSelectable(bool selectable) { selectable_ = selectable; }
    const EdgeInsets& textContainerInset() const { return textContainerInset_; }
    void setTextContainerInset(const EdgeInsets& inset) { textContainerInset_ = inset; }
    const std::optional<Color>& linkColor() const { return linkColor_; }
    void setLinkColor(std::optional<Color> color) { linkColor_ = color; }

    std::shared_ptr<TextViewDelegate> textDelegate() const { return textDelegate_.lock(); }
    // The delegate is also the scroll delegate.
    void setDelegate(const std::shared_ptr<TextViewDelegate>& delegate);

    // Where the system opens links the delegate lets through (an in-app browser or the
    // outside opener); unset, such links go nowhere.
    static void setLinkOpener(std::function<void(const std::string& url)> opener);

    // A person taps the link with this URL text. The delegate is asked; when it lets the link
    // through, the link opener gets it and the answer is true. False when the delegate refuses,
    // the text has no such link, or the view is not selectable or not visible.
    bool tapLink(const std::string& url);

    // The height the text takes at the view's width (content size follows the text).
    Size sizeThatFits(Size size) const override;
    // A text view that does not scroll is as high as its text, as a label is.
    Size intrinsicContentSize() const override;
    bool canBecomeFirstResponder() const override { return editable_; }
    void draw(Canvas& canvas) override;

  protected:
    std::string describeSelf() const override;
    void boundsDidChange(const Rect& oldBounds) override;

  private:
    void updateContentSize();

    AttributedString attributedText_;
    Font font_ = Font::systemFont(12);
    Color textColor_ = Color::black();
    TextAlignment textAlignment_ = TextAlignment::natural;
    bool editable_ = true;
    bool selectable_ = true;
    EdgeInsets textContainerInset_{8, 0, 8, 0};
    std::optional<Color> linkColor_;
    std::weak_ptr<TextViewDelegate> textDelegate_;
};

}  // namespace uikit
