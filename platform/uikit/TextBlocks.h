#pragma once

#include <cstddef>
#include <optional>

#include "uikit/AttributedString.h"

namespace uikit {

// Cuts text into the stretches that are laid out in one go: whole paragraphs (ended by "\n")
// that share their indents, up to a size, or a piece of a paragraph too long for one go, cut
// after a space where there is one. Small stretches keep Pango within its 32-bit positions, and
// keep quick its wrapping of an unbroken word, whose cost grows with the square of the word.
class TextBlocks {
  public:
    struct Block {
        TextRange range;       // without the line break that ends it
        std::size_t next = 0;  // where the text after it starts
        double firstLineHeadIndent = 0;
        double headIndent = 0;
        bool startsParagraph = true;
        bool endsParagraph = true;
    };

    TextBlocks(const AttributedString& text, std::size_t maxBytes)
        : text_(text), maxBytes_(maxBytes) {}

    // The stretch from the start of a paragraph; nothing past the end of the text. Text that
    // ends with a line break ends with an empty paragraph.
    std::optional<Block> paragraphsAt(std::size_t position) const;
    // The rest of the previous block's paragraph from the position, or a piece of it.
    Block continuation(const Block& previous, std::size_t position) const;

  private:
    Block stretch(std::size_t position, const ParagraphStyle& style, bool startsParagraph) const;
    void addParagraphs(Block& block) const;
    void endAt(Block& block, std::size_t lineBreak) const;
    std::size_t lineBreakFrom(std::size_t position) const;
    std::size_t cutPoint(std::size_t start) const;
    ParagraphStyle paragraphStyleAt(std::size_t position) const;

    const AttributedString& text_;
    std::size_t maxBytes_;
};

}  // namespace uikit
