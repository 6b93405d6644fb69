#pragma once

#include <string>

#include "foundation/Value.h"
#include "uikit/AttributedString.h"

namespace corvane {

// Descriptions and change logs written in Markdown as the pages show them: 15-point text, white
// in dark mode and black otherwise, headings and paragraphs set apart by blank lines, links kept
// but not underlined, left aligned, without trailing line breaks.
//
// The text comes from repositories: it is converted in the converter's safe mode, so raw HTML is
// dropped, and the HTML import drops javascript:, data: and file: links; nothing is fetched and
// nothing runs. Any thread.
class MarkdownAttributedText {
  public:
    static constexpr double kFontSize = 15;

    // Nil, the null marker and "" give an empty text; so does anything that is no string.
    static uikit::AttributedString attributedTextFromMarkdown(const foundation::Value& markdown,
                                                              bool darkMode);
    // The HTML the text is imported from.
    static std::string htmlFromMarkdown(const std::string& markdown, bool darkMode);
};

}  // namespace corvane
