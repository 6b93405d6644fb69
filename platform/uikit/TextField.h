#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/Control.h"
#include "uikit/Font.h"
#include "uikit/TextFieldDelegate.h"

namespace uikit {

enum class KeyboardType {
    standard,
    asciiCapable,
    numbersAndPunctuation,
    url,
    numberPad,
    email,
    webSearch
};
enum class ReturnKeyType { standard, go, search, send, done, next };
enum class TextFieldViewMode { never, whileEditing, unlessEditing, always };

// One line of editable text. Typing goes through the delegate character by character.
class TextField : public Control {
  public:
    TextField() = default;
    explicit TextField(const Rect& frame) : Control() { setFrame(frame); }

    const std::string& text() const { return text_; }
    // Setting the text from code tells no delegate and sends no event, as the system does.
    void setText(std::string text) { text_ = std::move(text); }
    const std::optional<std::string>& placeholder() const { return placeholder_; }
    void setPlaceholder(std::optional<std::string> placeholder) {
        placeholder_ = std::move(placeholder);
    }
    const Font& font() const { return font_; }
    void setFont(const Font& font) { font_ = font; }
    const Color& textColor() const { return textColor_; }
    void setTextColor(const Color& color) { textColor_ = color; }
    TextAlignment textAlignment() const { return textAlignment_; }
    void setTextAlignment(TextAlignment alignment) { textAlignment_ = alignment; }
    bool isSecureTextEntry() const { return secure_; }
    void setSecureTextEntry(bool secure) { secure_ = secure; }
    KeyboardType keyboardType() const { return keyboardType_; }
    void setKeyboardType(KeyboardType type) { keyboardType_ = type; }
    ReturnKeyType returnKeyType() const { return returnKeyType_; }
    void setReturnKeyType(ReturnKeyType type) { returnKeyType_ = type; }
    TextFieldViewMode clearButtonMode() const { return clearButtonMode_; }
    void setClearButtonMode(TextFieldViewMode mode) { clearButtonMode_ = mode; }

    std::shared_ptr<TextFieldDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<TextFieldDelegate> delegate) { delegate_ = std::move(delegate); }

    bool isEditing() const { return isFirstResponder(); }
    bool canBecomeFirstResponder() const override { return isEnabled(); }
    void draw(Canvas& canvas) override;

    // A person's keyboard. Each character is offered to the delegate and, when accepted,
    // appended with an editing-changed event; false when the field would not begin editing.
    bool typeText(const std::string& text);
    // Deletes the last character, through the delegate.
    void deleteBackward();
    // The clear button: empties the field when the delegate agrees.
    void clear();
    // The return key: asks the delegate and sends editing-did-end-on-exit.
    void pressReturn();

  protected:
    std::string describeSelf() const override;
    void didTapInside(const Touch& touch) override { becomeFirstResponder(); }
    bool shouldBecomeFirstResponder() override;
    void didBecomeFirstResponder() override;
    bool shouldResignFirstResponder() override;
    void didResignFirstResponder() override;

  private:
    bool replace(TextRange range, const std::string& replacement);

    std::string text_;
    std::optional<std::string> placeholder_;
    Font font_ = Font::systemFont(17);
    Color textColor_ = Color::black();
    TextAlignment textAlignment_ = TextAlignment::natural;
    bool secure_ = false;
    KeyboardType keyboardType_ = KeyboardType::standard;
    ReturnKeyType returnKeyType_ = ReturnKeyType::standard;
    TextFieldViewMode clearButtonMode_ = TextFieldViewMode::never;
    std::weak_ptr<TextFieldDelegate> delegate_;
};

}  // namespace uikit
