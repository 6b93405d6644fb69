#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "uikit/Color.h"
#include "uikit/Font.h"
#include "uikit/Geometry.h"

namespace uikit {

enum class TextAlignment { natural, left, center, right, justified };

enum class UnderlineStyle { none, single, thick, doubleLine };

// A paragraph's style is the one of its first character.
struct ParagraphStyle {
    TextAlignment alignment = TextAlignment::natural;
    LineBreakMode lineBreakMode = LineBreakMode::byWordWrapping;
    double lineSpacing = 0;
    double paragraphSpacing = 0;
    // Points from the leading edge to the start of the paragraph's first line, and of its other
    // lines: nested lists and quotes sit further in, a list item's lines hang under its text.
    double firstLineHeadIndent = 0;
    double headIndent = 0;
    bool operator==(const ParagraphStyle&) const = default;
};

// The attributes of a stretch of text; an unset attribute takes the displaying view's default.
struct TextAttributes {
    std::optional<Font> font;
    std::optional<Color> foregroundColor;
    std::optional<Color> backgroundColor;
    std::optional<std::string> link;  // the link's URL text
    std::optional<UnderlineStyle> underlineStyle;
    std::optional<Color> underlineColor;
    std::optional<ParagraphStyle> paragraphStyle;

    // Takes every attribute that the other sets.
    void merge(const TextAttributes& other);
    bool operator==(const TextAttributes&) const = default;
};

enum class AttributeKey {
    font,
    foregroundColor,
    backgroundColor,
    link,
    underlineStyle,
    underlineColor,
    paragraphStyle
};

// Byte offsets into the UTF-8 text.
struct TextRange {
    std::size_t location = 0;
    std::size_t length = 0;
    std::size_t end() const { return location + length; }
    bool operator==(const TextRange&) const = default;
};

// Text with attributes over ranges. Ranges count bytes of the UTF-8 text and are clamped to
// it, and to whole characters, so an edit never splits a character.
class AttributedString {
  public:
    struct Run {
        TextRange range;
        TextAttributes attributes;
        bool operator==(const Run&) const = default;
    };

    AttributedString() = default;
    explicit AttributedString(std::string text, TextAttributes attributes = {});

    const std::string& string() const { return text_; }
    std::size_t length() const { return text_.size(); }
    bool empty() const { return text_.empty(); }
    // Runs of equal attributes covering the whole text, in order.
    const std::vector<Run>& runs() const { return runs_; }
    TextAttributes attributesAt(std::size_t index, TextRange* effectiveRange = nullptr) const;
    AttributedString substring(TextRange range) const;

    void append(const AttributedString& other);
    void append(const std::string& text, const TextAttributes& attributes = {});
    void insert(std::size_t location, const AttributedString& other);
    void addAttributes(const TextAttributes& attributes, TextRange range);
    void setAttributes(const TextAttributes& attributes, TextRange range);
    void removeAttribute(AttributeKey key, TextRange range);
    void deleteCharacters(TextRange range);
    void replaceCharacters(TextRange range, const std::string& text);

    // The ranges that carry a link, with their URL text.
    std::vector<std::pair<TextRange, std::string>> links() const;

    // Size of the text as laid out at most maxWidth wide (0: unlimited) in at most maxLines
    // lines (0: no limit), with defaults for attributes that runs leave unset.
    Size boundingSize(double maxWidth, int maxLines, const Font& defaultFont,
                      LineBreakMode mode = LineBreakMode::byWordWrapping) const;

    bool operator==(const AttributedString&) const = default;

  private:
    TextRange clamp(TextRange range) const;
    // The first run that ends after the index.
    std::vector<Run>::const_iterator runAfter(std::size_t index) const;
    void splitAt(std::size_t index);
    void coalesce();
    template <typename Edit>
    void editRange(TextRange range, Edit edit);

    std::string text_;
    std::vector<Run> runs_;
};

}  // namespace uikit
