// Pages from outside (depictions, web pages, descriptions) through the HTML reader: parsing with
// a content type, the selector queries the program makes and every way of reading an element.
// Selectors are the program's own, never outside data, so they are not fuzzed.
//
// The input's first line is the content type (empty for none), the rest the page.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "html/HTMLDocument.h"

namespace {

using html::HTMLElement;

constexpr std::string_view kSelectors[] = {
    "#name",
    "h1",
    "#description, .description",
    "#changelog",
    ".changelog",
    "body",
    "#screenshots img, .screenshots img",
    "a.changelog",
    "a.screenshots",
    "img",
    "a[href]",
    ".package-name",
    ".package-description",
    "title",
    "*",
    "div > p + p ~ a[href^=http]",
    "li:nth-child(2n+1)",
    "p:not(.note)",
    "ul li:first-child",
    "[data-x]",
    // Cut short: match nothing.
    "li:not(",
    "p[[",
    "a:has(",
};

std::string_view nextLine(std::string_view& text) {
    const auto newline = text.find('\n');
    const auto line = text.substr(0, newline);
    text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
    return line;
}

void read(const HTMLElement& element, std::string_view selectors) {
    FUZZ_CHECK(!element.tagName().empty());
    (void)element.attribute("href");
    (void)element.attributes();
    (void)element.textContent();
    (void)element.outerHTML();
    (void)element.contents();
    for (const auto& child : element.children()) {
        const auto parent = child.parentElement();
        FUZZ_CHECK(parent && *parent == element);
    }
    for (const auto& match : element.querySelectorAll(selectors))
        FUZZ_CHECK(!(match == element));
}

// Each match once, among the first few.
bool distinct(const std::vector<HTMLElement>& elements) {
    const std::size_t count = std::min<std::size_t>(elements.size(), 256);
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t j = i + 1; j < count; ++j)
            if (elements[i] == elements[j])
                return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto contentType = nextLine(text);
    const auto document = html::HTMLDocument::parse(
        text, contentType.empty() ? std::nullopt : std::optional(contentType));
    if (!document)
        return 0;
    (void)document->title();
    (void)document->head();
    (void)document->body();
    const auto root = document->documentElement();
    FUZZ_CHECK(root.tagName() == "html");
    (void)root.innerHTML();
    for (const auto selectors : kSelectors) {
        const auto matches = document->querySelectorAll(selectors);
        const auto first = document->querySelector(selectors);
        FUZZ_CHECK(matches.empty() == !first);
        FUZZ_CHECK(!first || *first == matches.front());
        FUZZ_CHECK(distinct(matches));
        // Every reading walks what lies below the element: a few elements keep a page of many
        // from costing the square of its size.
        for (std::size_t i = 0; i < std::min<std::size_t>(matches.size(), 16); ++i)
            read(matches[i], selectors);
    }
    return 0;
}
