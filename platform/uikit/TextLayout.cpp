#include "uikit/TextLayout.h"

#include <algorithm>

namespace uikit {

TextLayout::Metrics TextLayout::measure(const AttributedString& text, const Font& defaultFont,
                                        double maxWidth, int maxLines, LineBreakMode mode) {
    if (text.empty())
        return {};
    TextLayout layout(text, defaultFont, maxWidth, maxLines, mode);
    layout.layOutAll();
    if (layout.wraps())
        layout.metrics_.size.width = std::min(layout.metrics_.size.width, layout.maxWidth_);
    return layout.metrics_;
}

TextLayout::Placement TextLayout::place(const AttributedString& text, const Font& defaultFont,
                                        double maxWidth, int maxLines, LineBreakMode mode) {
    Placement placement;
    placement.mode = mode;
    if (text.empty())
        return placement;
    TextLayout layout(text, defaultFont, maxWidth, maxLines, mode);
    layout.placement_ = &placement;
    layout.layOutAll();
    if (layout.wraps())
        layout.metrics_.size.width = std::min(layout.metrics_.size.width, layout.maxWidth_);
    placement.metrics = layout.metrics_;
    return placement;
}

void TextLayout::layOutAll() {
    std::optional<TextBlocks::Block> block = blocks_.paragraphsAt(0);
    while (block && (!isFull() || continuesLine(*block))) {
        std::size_t next = layOutBlock(*block);
        block = blockAfter(*block, next);
    }
    if ((block || hiddenText_) && truncates())
        truncateLastLine();
}

std::size_t TextLayout::layOutBlock(const TextBlocks::Block& block) {
    double first = block.startsParagraph ? block.firstLineHeadIndent : block.headIndent;
    auto lines = PangoLines::layOut(text_.substring(block.range), defaultFont_, maxWidth_, first,
                                    block.headIndent, mode_);
    // The last line of a piece may go on in the next one: it is laid out again from its start.
    bool carried = wraps() && !block.endsParagraph && lines.size() > 1;
    std::size_t kept = carried ? lines.size() - 1 : lines.size();
    for (std::size_t i = 0; i < kept; ++i) {
        bool alongLine = i == 0 && continuesLine(block);
        if (isFull() && !alongLine) {
            hiddenText_ = true;
            break;
        }
        std::size_t end = i + 1 < lines.size() ? lines[i + 1].start : block.range.length;
        show(lines[i], {block.range.location + lines[i].start, end - lines[i].start}, alongLine);
        lastBlock_ = block;
    }
    return carried ? block.range.location + lines[kept].start : block.next;
}

std::optional<TextBlocks::Block> TextLayout::blockAfter(const TextBlocks::Block& block,
                                                        std::size_t next) const {
    if (!block.endsParagraph)
        return blocks_.continuation(block, next);
    if (block.range.end() == text_.length())
        return std::nullopt;
    return blocks_.paragraphsAt(next);
}

void TextLayout::show(const PangoLines::Line& line, TextRange range, bool continuesLine) {
    if (placement_)
        place(line, range, continuesLine);
    if (continuesLine) {
        metrics_.size.height += std::max(0.0, line.height - last_.height);
        last_.right += line.right;
        last_.height = std::max(last_.height, line.height);
    } else {
        metrics_.size.height += line.height;
        metrics_.lineCount += 1;
        last_ = {range.location, line.right, line.height};
    }
    metrics_.size.width = std::max(metrics_.size.width, last_.right);
}

// The last line shown ends in an ellipsis, which may make it wider than when it wrapped.
void TextLayout::truncateLastLine() {
    TextBlocks::Block rest = startsParagraph(last_.start)
                                 ? *blocks_.paragraphsAt(last_.start)
                                 : blocks_.continuation(lastBlock_, last_.start);
    double indent = rest.startsParagraph ? rest.firstLineHeadIndent : rest.headIndent;
    double right = PangoLines::truncatedLineRight(text_.substring(rest.range), defaultFont_,
                                                  maxWidth_, indent, mode_);
    metrics_.size.width = std::max(metrics_.size.width, right);
    if (placement_)
        placeTruncated(rest, indent);
}

void TextLayout::place(const PangoLines::Line& line, TextRange range, bool continuesLine) {
    auto& lines = placement_->lines;
    if (continuesLine) {
        lines.back().height = std::max(lines.back().height, line.height);
        placement_->fragments.push_back({range, lines.size() - 1, last_.right + line.left});
    } else {
        lines.push_back({metrics_.size.height, line.height});
        placement_->fragments.push_back({range, lines.size() - 1, line.left});
    }
}

void TextLayout::placeTruncated(const TextBlocks::Block& rest, double indent) {
    auto& fragments = placement_->fragments;
    std::size_t line = placement_->lines.size() - 1;
    std::erase_if(fragments, [line](const Fragment& fragment) { return fragment.line == line; });
    fragments.push_back({rest.range, line, indent, maxWidth_ - indent});
}

bool TextLayout::truncates() const {
    return wraps() &&
           (mode_ == LineBreakMode::byTruncatingHead ||
            mode_ == LineBreakMode::byTruncatingMiddle || mode_ == LineBreakMode::byTruncatingTail);
}

bool TextLayout::startsParagraph(std::size_t position) const {
    const std::string& text = text_.string();
    return position == 0 || text[position - 1] == '\n' || text[position - 1] == '\r';
}

}  // namespace uikit
