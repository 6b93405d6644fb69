#include "ui/extensions/MarkdownAttributedText.h"

#include <cmark-gfm.h>

#include <cstdlib>
#include <memory>
#include <span>
#include <utility>

#include "foundation/Strings.h"
#include "framework/links/URLsFromString.h"
#include "framework/network/KSFetchableURL.h"
#include "uikit/HTMLImporter.h"

namespace corvane {

namespace {

// Blank lines around headings and between paragraphs, and list items without paragraphs of
// their own, as the pages have always spaced them.
constexpr std::pair<const char*, const char*> kSpacing[] = {
    {"<h1", "<br /><h1"},     {"<h2", "<br /><h2"},         {"<h3", "<br /><h3"},
    {"<h4", "<br /><h4"},     {"<h5", "<br /><h5"},         {"</h1>", "</h1><br />"},
    {"</h2>", "</h2><br />"}, {"</h3>", "</h3><br />"},     {"</h4>", "</h4><br />"},
    {"</h5>", "</h5><br />"}, {"</p><p>", "</p><br /><p>"}, {"</p>\n<p>", "</p><br /><p>"},
    {"<li><p>", "<li>"},      {"</p></li>", "</li>"},
};

// The converter puts a line break between a loose list item and its paragraph, where the
// spacing above expects the two tags side by side; left there, the item's paragraph would start
// on the line after its bullet.
constexpr std::pair<const char*, const char*> kLooseListItems[] = {
    {"<li>\n<p>", "<li><p>"},
    {"</p>\n</li>", "</p></li>"},
};

std::string convert(const std::string& markdown) {
    std::unique_ptr<char, decltype(&std::free)> html(
        cmark_markdown_to_html(markdown.data(), markdown.size(), CMARK_OPT_SAFE), &std::free);
    return html ? std::string(html.get()) : std::string();
}

std::string replaceAll(std::string text,
                       std::span<const std::pair<const char*, const char*>> pairs) {
    for (const auto& [from, to] : pairs)
        text = foundation::replace(text, from, to);
    return text;
}

void removeLinkUnderlines(uikit::AttributedString& text) {
    for (const auto& url : URLs(text.string())) {
        if (!KSFetchableURL::isFetchable(url))
            continue;
        const auto at = text.string().find(url.absoluteString());
        if (at == std::string::npos)
            continue;
        const uikit::TextRange range{at, url.absoluteString().size()};
        text.removeAttribute(uikit::AttributeKey::underlineColor, range);
        text.removeAttribute(uikit::AttributeKey::underlineStyle, range);
    }
}

// Left alignment everywhere, keeping the indents of lists and quotes.
void alignLeft(uikit::AttributedString& text) {
    const auto runs = text.runs();
    for (const auto& run : runs) {
        uikit::TextAttributes attributes;
        attributes.paragraphStyle = run.attributes.paragraphStyle.value_or(uikit::ParagraphStyle{});
        attributes.paragraphStyle->alignment = uikit::TextAlignment::left;
        text.addAttributes(attributes, run.range);
    }
}

void dropTrailingLineBreaks(uikit::AttributedString& text) {
    while (!text.empty() && text.string().back() == '\n')
        text.deleteCharacters({text.length() - 1, 1});
}

}  // namespace

std::string MarkdownAttributedText::htmlFromMarkdown(const std::string& markdown, bool darkMode) {
    const std::string html = replaceAll(replaceAll(convert(markdown), kLooseListItems), kSpacing);
    return std::string("<span style=\"font-family: -apple-system; font-size: 15.0; color:") +
           (darkMode ? "white" : "black") + "\">" + html + "</span>";
}

uikit::AttributedString MarkdownAttributedText::attributedTextFromMarkdown(
    const foundation::Value& markdown, bool darkMode) {
    if (!foundation::isPresentText(markdown) || !markdown.isString())
        return {};
    uikit::HTMLImporter importer;
    importer.setDefaultFont(uikit::Font::systemFont(kFontSize));
    auto text = importer.attributedString(htmlFromMarkdown(markdown.stringValue(), darkMode));
    if (!text)
        return uikit::AttributedString(markdown.stringValue());
    removeLinkUnderlines(*text);
    alignLeft(*text);
    dropTrailingLineBreaks(*text);
    return std::move(*text);
}

}  // namespace corvane
