#include "uikit/Font.h"

#include <charconv>

#include "uikit/AttributedString.h"
#include "uikit/PangoText.h"
#include "uikit/TextLayout.h"

namespace uikit {

Font Font::systemFont(double pointSize, double weight) {
    Font font;
    font.pointSize_ = pointSize;
    font.weight_ = weight;
    return font;
}

Font Font::italicSystemFont(double pointSize) {
    Font font = systemFont(pointSize);
    font.italic_ = true;
    return font;
}

std::optional<Font> Font::named(const std::string& family, double pointSize) {
    if (!PangoText::hasFamily(family))
        return std::nullopt;
    Font font = systemFont(pointSize);
    font.family_ = family;
    return font;
}

Font Font::withSize(double pointSize) const {
    Font font = *this;
    font.pointSize_ = pointSize;
    return font;
}

Font Font::withWeight(double weight) const {
    Font font = *this;
    font.weight_ = weight;
    return font;
}

Font Font::withItalic(bool italic) const {
    Font font = *this;
    font.italic_ = italic;
    return font;
}

double Font::lineHeight() const {
    return sizeOfText("X").height;
}

Size Font::sizeOfText(const std::string& text) const {
    return TextLayout::measure(AttributedString(text), *this, 0, 0, LineBreakMode::byClipping).size;
}

Size Font::boundingSize(const std::string& text, double maxWidth, int maxLines,
                        LineBreakMode mode) const {
    return TextLayout::measure(AttributedString(text), *this, maxWidth, maxLines, mode).size;
}

std::string Font::toString() const {
    char size[32];
    auto end = std::to_chars(size, size + sizeof size, pointSize_).ptr;
    std::string text = family_ + " " + std::string(size, end);
    if (isBold())
        text += " bold";
    if (italic_)
        text += " italic";
    return text;
}

}  // namespace uikit
