#include "uikit/TextBlocks.h"

#include <cstring>

namespace uikit {

namespace {

bool sameIndents(const ParagraphStyle& a, const ParagraphStyle& b) {
    return a.firstLineHeadIndent == b.firstLineHeadIndent && a.headIndent == b.headIndent;
}

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::optional<TextBlocks::Block> TextBlocks::paragraphsAt(std::size_t position) const {
    const std::string& text = text_.string();
    bool emptyLast = position == text.size() && position > 0 && text[position - 1] == '\n';
    if (position > text.size() || (position == text.size() && !emptyLast))
        return std::nullopt;
    Block block = stretch(position, paragraphStyleAt(position), true);
    addParagraphs(block);
    return block;
}

TextBlocks::Block TextBlocks::continuation(const Block& previous, std::size_t position) const {
    ParagraphStyle style;
    style.firstLineHeadIndent = previous.firstLineHeadIndent;
    style.headIndent = previous.headIndent;
    return stretch(position, style, false);
}

TextBlocks::Block TextBlocks::stretch(std::size_t position, const ParagraphStyle& style,
                                      bool startsParagraph) const {
    Block block;
    block.firstLineHeadIndent = style.firstLineHeadIndent;
    block.headIndent = style.headIndent;
    block.startsParagraph = startsParagraph;
    std::size_t lineBreak = lineBreakFrom(position);
    block.range.location = position;
    if (lineBreak - position > maxBytes_) {
        std::size_t cut = cutPoint(position);
        block.range.length = cut - position;
        block.next = cut;
        block.endsParagraph = false;
    } else {
        endAt(block, lineBreak);
    }
    return block;
}

// Takes in the paragraphs after the block while they fit and share its indents.
void TextBlocks::addParagraphs(Block& block) const {
    const std::string& text = text_.string();
    ParagraphStyle style;
    style.firstLineHeadIndent = block.firstLineHeadIndent;
    style.headIndent = block.headIndent;
    while (block.endsParagraph && block.next < text.size()) {
        std::size_t lineBreak = lineBreakFrom(block.next);
        if (lineBreak - block.range.location > maxBytes_ ||
            !sameIndents(paragraphStyleAt(block.next), style))
            return;
        endAt(block, lineBreak);
    }
}

void TextBlocks::endAt(Block& block, std::size_t lineBreak) const {
    const std::string& text = text_.string();
    std::size_t end = lineBreak;
    // Pango would take a "\r" left at the end for one more paragraph.
    if (end < text.size() && end > block.range.location && text[end - 1] == '\r')
        --end;
    block.range.length = end - block.range.location;
    block.next = lineBreak < text.size() ? lineBreak + 1 : lineBreak;
    block.endsParagraph = true;
}

std::size_t TextBlocks::lineBreakFrom(std::size_t position) const {
    const std::string& text = text_.string();
    const void* found = std::memchr(text.data() + position, '\n', text.size() - position);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data())
                 : text.size();
}

// After the last space of the second half of the largest piece, else before a character.
std::size_t TextBlocks::cutPoint(std::size_t start) const {
    const std::string& text = text_.string();
    std::size_t limit = start + maxBytes_;
    for (std::size_t i = limit; i > start + maxBytes_ / 2; --i)
        if (text[i - 1] == ' ' || text[i - 1] == '\t')
            return i;
    while (limit > start + 1 && isContinuationByte(text[limit]))
        --limit;
    return limit;
}

ParagraphStyle TextBlocks::paragraphStyleAt(std::size_t position) const {
    return text_.attributesAt(position).paragraphStyle.value_or(ParagraphStyle{});
}

}  // namespace uikit
