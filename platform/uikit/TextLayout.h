#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

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

    // Where the lines shown go, for drawing them.
    struct Line {
        double top = 0;
        double height = 0;
    };
    // A stretch of text on one line: a whole line, or a piece of an unwrapped paragraph too long
    // for one block. A truncated fragment is the rest of its paragraph, laid out on one line of
    // its width and cut there with an ellipsis.
    struct Fragment {
        TextRange range;
        std::size_t line = 0;
        double x = 0;
        std::optional<double> truncatedWidth;
    };
    struct Placement {
        Metrics metrics;
        LineBreakMode mode = LineBreakMode::byWordWrapping;  // how truncated fragments are cut
        std::vector<Line> lines;
        std::vector<Fragment> fragments;
    };

    // maxWidth 0: no wrapping; maxLines 0: no limit.
    static Metrics measure(const AttributedString& text, const Font& defaultFont, double maxWidth,
                           int maxLines, LineBreakMode mode);
    static Placement place(const AttributedString& text, const Font& defaultFont, double maxWidth,
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
    void show(const PangoLines::Line& line, TextRange range, bool continuesLine);
    void place(const PangoLines::Line& line, TextRange range, bool continuesLine);
    void placeTruncated(const TextBlocks::Block& rest, double indent);
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
    Placement* placement_ = nullptr;  // recorded only for drawing
};

}  // namespace uikit
