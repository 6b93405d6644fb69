#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "html/HTMLDocument.h"
#include "html/HTMLElement.h"

namespace corvane {

// The readable text of a part of a depiction page, as the page shows it in a
// label that reads markdown: paragraphs, headings and divisions as paragraphs
// of their own, list items as "- " lines, white space collapsed. An element
// whose own text runs between its blocks is taken as one paragraph, so that no
// words are lost.
class KSDepictionText {
  public:
    // Nil when the element holds no text.
    static std::optional<std::string> textOf(const html::HTMLElement& element);
    // The text of the first element that the first matching selector list finds.
    static std::optional<std::string> textOfFirst(
        const html::HTMLDocument& document, std::initializer_list<std::string_view> selectors);

  private:
    // Deeper structure is read as one paragraph: every level reads the text below
    // it again, so a hostile page of deep nesting would otherwise cost the square
    // of its size.
    static constexpr int kMaximumStructureDepth = 12;

    struct Block {
        std::string text;
        bool listItem = false;
    };

    static void collectBlocks(const html::HTMLElement& element, int depth,
                              std::vector<Block>& blocks);
    static bool hasLooseText(const html::HTMLElement& element,
                             const std::vector<html::HTMLElement>& children);
    static std::string collapsed(std::string_view text);
    static std::string joined(const std::vector<Block>& blocks);
};

}  // namespace corvane
