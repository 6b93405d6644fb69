#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>

#include "uikit/AttributedString.h"
#include "uikit/Font.h"
#include "uikit/PangoLines.h"
#include "uikit/TextBlocks.h"

namespace uikit {

// Measures text as it is laid out: wrapped at word boundaries, or inside a word too long for a
// line, with each paragraph's head indents, a stretch at a time so that text of any length
// measures true (see TextBlocks). Lines break as they would in one layout of the whole text,
// except where a single line holds more than kBlockBytes.
class TextLayout {
  public:
    static constexpr std::size_t kBlockBytes = 1024;

    struct Metrics {
        Size size;
        int lineCount = 0;  // lines shown, within the limit
    };

    // maxWidth 0: no wrapping; maxLines 0: no limit.
    static Metrics measure(const AttributedString& text, const Font& defaultFont, double maxWidth,
                           int maxLines, LineBreakMode mode);

  private:
    struct ShownLine {
        std::size_t start = 0;
        double right = 0;
        double height = 0;
    };

    TextLayout(const AttributedString& text, const Font& defaultFont, double maxWidth, int maxLines,
               LineBreakMode mode)
        : text_(text),
          defaultFont_(defaultFont),
          maxWidth_(std::max(0.0, maxWidth)),
          maxLines_(maxLines),
          mode_(mode),
          blocks_(text, kBlockBytes) {}

    void layOutAll();
    // Where the text after the block's lines starts.
    std::size_t layOutBlock(const TextBlocks::Block& block);
    std::optional<TextBlocks::Block> blockAfter(const TextBlocks::Block& block,
                                                std::size_t next) const;
    void show(const PangoLines::Line& line, std::size_t start, bool continuesLine);
    void truncateLastLine();
    bool isFull() const { return maxLines_ > 0 && metrics_.lineCount >= maxLines_; }
    bool wraps() const { return maxWidth_ > 0; }
    // An unwrapped paragraph too long for one block goes on along the same line.
    bool continuesLine(const TextBlocks::Block& block) const {
        return !wraps() && !block.startsParagraph;
    }
    bool truncates() const;
    bool startsParagraph(std::size_t position) const;

    const AttributedString& text_;
    const Font& defaultFont_;
    double maxWidth_ = 0;
    int maxLines_ = 0;
    LineBreakMode mode_ = LineBreakMode::byWordWrapping;
    TextBlocks blocks_;
    Metrics metrics_;
    ShownLine last_;
    TextBlocks::Block lastBlock_;  // the one the last line shown comes from
    bool hiddenText_ = false;
};

}  // namespace uikit
