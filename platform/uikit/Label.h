#pragma once

#include <optional>
#include <string>

#include "uikit/AttributedString.h"
#include "uikit/Font.h"
#include "uikit/TextLayout.h"
#include "uikit/View.h"

namespace uikit {

// Read-only text of one or more lines, sized by real text measurement.
class Label : public View {
  public:
    Label();
    explicit Label(const Rect& frame);

    const std::optional<std::string>& text() const { return text_; }
    void setText(std::optional<std::string> text);
    // The attributed text: as set, or built from the plain text with the label's attributes.
    std::optional<AttributedString> attributedText() const;
    void setAttributedText(std::optional<AttributedString> text);
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    const Color& textColor() const { return textColor_; }
    void setTextColor(std::optional<Color> color);
    TextAlignment textAlignment() const { return textAlignment_; }
    void setTextAlignment(TextAlignment alignment) { textAlignment_ = alignment; }
    // 0: as many lines as the text needs.
    int numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(int lines);
    LineBreakMode lineBreakMode() const { return lineBreakMode_; }
    void setLineBreakMode(LineBreakMode mode);
    bool adjustsFontSizeToFitWidth() const { return adjustsFontSizeToFitWidth_; }
    void setAdjustsFontSizeToFitWidth(bool on) { adjustsFontSizeToFitWidth_ = on; }
    double minimumScaleFactor() const { return minimumScaleFactor_; }
    void setMinimumScaleFactor(double factor) { minimumScaleFactor_ = factor; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted) { highlighted_ = highlighted; }
    // Width at which a multi-line label wraps for its intrinsic size (0: its current width).
    double preferredMaxLayoutWidth() const { return preferredMaxLayoutWidth_; }
    void setPreferredMaxLayoutWidth(double width);

    // The font size the text is drawn at: smaller than the font's when it is shrunk to fit.
    double displayedPointSize() const;
    // Lines the text takes at the label's width, within the line limit.
    int displayedLineCount() const;

    void draw(Canvas& canvas) override;
    Size sizeThatFits(Size size) const override;
    // Unwrapped for one line; for more, wrapped at the preferred or current width, so a label
    // without a line limit grows in height with its text.
    Size intrinsicContentSize() const override;

  protected:
    std::string describeSelf() const override;

  private:
    Size measure(double maxWidth) const;
    TextLayout::Placement placeText(const AttributedString& text, const Font& font) const;
    double wrapWidth() const;

    std::optional<std::string> text_;
    std::optional<AttributedString> attributedText_;
    Font font_ = Font::systemFont(17);
    Color textColor_ = Color::black();
    TextAlignment textAlignment_ = TextAlignment::natural;
    int numberOfLines_ = 1;
    LineBreakMode lineBreakMode_ = LineBreakMode::byTruncatingTail;
    bool adjustsFontSizeToFitWidth_ = false;
    double minimumScaleFactor_ = 0;
    bool enabled_ = true;
    bool highlighted_ = false;
    double preferredMaxLayoutWidth_ = 0;
};

}  // namespace uikit
