#include "framework/depictions/KSDepictionText.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace corvane {

namespace {

bool isBlockTag(const std::string& tag) {
    static const std::set<std::string> kBlocks = {
        "address", "article", "blockquote", "dd",      "div",   "dl", "dt",     "footer",
        "h1",      "h2",      "h3",         "h4",      "h5",    "h6", "header", "li",
        "ol",      "p",       "pre",        "section", "table", "tr", "ul"};
    return kBlocks.contains(tag);
}

bool isSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string withoutSpace(std::string_view text) {
    std::string letters;
    std::copy_if(text.begin(), text.end(), std::back_inserter(letters),
                 [](char c) { return !isSpace(c); });
    return letters;
}

}  // namespace

std::optional<std::string> KSDepictionText::textOf(const html::HTMLElement& element) {
    std::vector<Block> blocks;
    collectBlocks(element, 0, blocks);
    auto text = joined(blocks);
    return text.empty() ? std::nullopt : std::optional(std::move(text));
}

std::optional<std::string> KSDepictionText::textOfFirst(
    const html::HTMLDocument& document, std::initializer_list<std::string_view> selectors) {
    for (auto selector : selectors)
        if (auto element = document.querySelector(selector))
            return textOf(*element);
    return std::nullopt;
}

void KSDepictionText::collectBlocks(const html::HTMLElement& element, int depth,
                                    std::vector<Block>& blocks) {
    const auto children = element.children();
    const bool structured =
        depth < kMaximumStructureDepth &&
        std::any_of(children.begin(), children.end(),
                    [](const auto& child) { return isBlockTag(child.tagName()); }) &&
        !hasLooseText(element, children);
    if (!structured) {
        auto text = collapsed(element.textContent());
        if (!text.empty())
            blocks.push_back({std::move(text), element.tagName() == "li"});
        return;
    }
    for (const auto& child : children)
        collectBlocks(child, depth + 1, blocks);
}

bool KSDepictionText::hasLooseText(const html::HTMLElement& element,
                                   const std::vector<html::HTMLElement>& children) {
    std::string childText;
    for (const auto& child : children)
        childText += withoutSpace(child.textContent());
    return withoutSpace(element.textContent()) != childText;
}

std::string KSDepictionText::collapsed(std::string_view text) {
    std::string result;
    bool pendingSpace = false;
    for (char c : text) {
        if (isSpace(c)) {
            pendingSpace = !result.empty();
            continue;
        }
        if (pendingSpace)
            result += ' ';
        pendingSpace = false;
        result += c;
    }
    return result;
}

std::string KSDepictionText::joined(const std::vector<Block>& blocks) {
    std::string text;
    for (std::size_t index = 0; index < blocks.size(); ++index) {
        const auto& block = blocks[index];
        if (index > 0)
            text += block.listItem && blocks[index - 1].listItem ? "\n" : "\n\n";
        text += block.listItem ? "- " + block.text : block.text;
    }
    return text;
}

}  // namespace corvane
