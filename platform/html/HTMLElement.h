#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

struct myhtml_tree_node;

namespace html {

class HTMLDocument;
class HTMLElement;

// What an element holds, as a reader of its text walks it: elements and runs of text.
using HTMLContent = std::variant<HTMLElement, std::string>;

// One element of a parsed document. It keeps its document alive, so it stays valid however long
// it is held; like the document, it may be read from any thread.
class HTMLElement {
  public:
    // Lower case for HTML elements ("div", "a").
    std::string tagName() const;
    // Attribute names compare without regard to case; values have their entities decoded.
    std::optional<std::string> attribute(std::string_view name) const;
    std::vector<std::pair<std::string, std::string>> attributes() const;
    // The text of every descendant text node in document order, as written.
    std::string textContent() const;
    // The markup of the element's content, and of the element with its content.
    std::string innerHTML() const;
    std::string outerHTML() const;

    std::vector<HTMLElement> children() const;
    // The child elements and text nodes in document order; comments and doctypes are left out.
    std::vector<HTMLContent> contents() const;
    std::optional<HTMLElement> parentElement() const;
    // Matches among the element's descendants (not the element itself), in document order.
    std::optional<HTMLElement> querySelector(std::string_view selectors) const;
    std::vector<HTMLElement> querySelectorAll(std::string_view selectors) const;

    const std::shared_ptr<const HTMLDocument>& document() const { return document_; }
    bool operator==(const HTMLElement& other) const { return node_ == other.node_; }

  private:
    friend class HTMLDocument;
    // Tree walking shared with the document.
    static bool isElement(const myhtml_tree_node* node);
    // The node after this one in document order without leaving scope; null at the end.
    static myhtml_tree_node* following(myhtml_tree_node* node, const myhtml_tree_node* scope);

    HTMLElement(std::shared_ptr<const HTMLDocument> document, myhtml_tree_node* node)
        : document_(std::move(document)), node_(node) {}

    std::shared_ptr<const HTMLDocument> document_;
    myhtml_tree_node* node_;
};

}  // namespace html
