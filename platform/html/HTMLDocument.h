#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "html/HTMLElement.h"

struct myhtml_tree_node;

namespace html {

// A parsed HTML document that answers CSS selectors. Parsing follows the HTML5 rules, so broken
// or truncated markup still gives a tree. Each document owns its parser objects: documents may be
// parsed and queried on any thread, and one document from several threads at once.
//
// Pages come from outside. The parser's cost grows with the square of the nesting and a few
// bytes can make many elements, so input above kMaximumBytes is refused, and parsing stops,
// keeping what came before, where elements nest deeper than kMaximumDepth or the tree passes
// kMaximumNodes.
class HTMLDocument : public std::enable_shared_from_this<HTMLDocument> {
    struct Token {
        explicit Token() = default;
    };

  public:
    static constexpr std::size_t kMaximumBytes = std::size_t{8} << 20;
    static constexpr std::size_t kMaximumDepth = 512;
    static constexpr std::size_t kMaximumNodes = 200'000;

    // The character set is taken from a byte-order mark, else from the charset of the content
    // type ("text/html; charset=iso-8859-1"), else from a <meta> in the first kilobyte, else
    // UTF-8. Null for input above kMaximumBytes or when the parser cannot start.
    static std::shared_ptr<const HTMLDocument> parse(
        std::string_view bytes, std::optional<std::string_view> contentType = std::nullopt);

    explicit HTMLDocument(Token);
    ~HTMLDocument();
    HTMLDocument(const HTMLDocument&) = delete;
    HTMLDocument& operator=(const HTMLDocument&) = delete;

    // The <html> element, which parsing always makes.
    HTMLElement documentElement() const;
    std::optional<HTMLElement> head() const;
    std::optional<HTMLElement> body() const;
    // The text of the first <title>, white space collapsed and trimmed; empty without one.
    std::string title() const;
    // Parsing stopped at kMaximumDepth or kMaximumNodes.
    bool isTruncated() const { return truncated_; }

    // Selector lists as in CSS ("div.note > a[href], #main p"). An invalid list matches nothing.
    std::optional<HTMLElement> querySelector(std::string_view selectors) const;
    std::vector<HTMLElement> querySelectorAll(std::string_view selectors) const;

  private:
    friend class HTMLElement;
    struct Parser;
    struct Finder;

    bool load(std::string_view bytes, std::optional<std::string_view> contentType);
    std::optional<HTMLElement> element(myhtml_tree_node* node) const;
    // Matching descendants of scope, in document order.
    std::vector<HTMLElement> select(myhtml_tree_node* scope, std::string_view selectors) const;

    std::unique_ptr<Parser> parser_;
    // The selector engine keeps state between queries; made on the first one.
    mutable std::mutex finderMutex_;
    mutable std::unique_ptr<Finder> finder_;
    bool truncated_ = false;
};

}  // namespace html
