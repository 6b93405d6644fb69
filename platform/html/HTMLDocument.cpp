#include "html/HTMLDocument.h"

#include <modest/finder/finder.h>
#include <mycss/mycss.h>
#include <mycss/selectors/init.h>
#include <mycss/selectors/list.h>
#include <myencoding/encoding.h>
#include <myhtml/myhtml.h>
#include <myhtml/tree.h>

#include <algorithm>
#include <string>
#include <unordered_set>

namespace html {

namespace {

// Small enough that one chunk cannot nest or multiply elements far past the limits before they
// are checked.
constexpr std::size_t kChunkBytes = 4096;
// The <meta> charset must come early in the document.
constexpr std::size_t kPrescanBytes = 1024;

void countInsertedNode(myhtml_tree_t*, myhtml_tree_node_t*, void* count) {
    ++*static_cast<std::size_t*>(count);
}

myencoding_t encodingOf(std::string_view& bytes, std::optional<std::string_view> contentType) {
    myencoding_t encoding = MyENCODING_UTF_8;
    const char* withoutMark = nullptr;
    std::size_t withoutMarkSize = 0;
    if (myencoding_detect_and_cut_bom(bytes.data(), bytes.size(), &encoding, &withoutMark,
                                      &withoutMarkSize)) {
        bytes = std::string_view(withoutMark, withoutMarkSize);
        return encoding;
    }
    if (contentType && myencoding_extracting_character_encoding_from_charset(
                           contentType->data(), contentType->size(), &encoding))
        return encoding;
    encoding = myencoding_prescan_stream_to_determine_encoding(
        bytes.data(), std::min(bytes.size(), kPrescanBytes));
    return encoding == MyENCODING_NOT_DETERMINED ? MyENCODING_UTF_8 : encoding;
}

std::string collapsedWhiteSpace(const std::string& text) {
    std::string result;
    bool space = false;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
            space = !result.empty();
            continue;
        }
        if (space)
            result += ' ';
        space = false;
        result += c;
    }
    return result;
}

// Every "(" and "[" closed, outside quoted text, in order. The selector engine follows the parts
// of a function cut short at the end (":not(", ":contains(x") into nothing, though the parser
// does not mark such a list bad; such a list is taken as invalid instead.
bool isBalanced(std::string_view selectors) {
    std::string open;
    char quote = 0;
    for (std::size_t at = 0; at < selectors.size(); ++at) {
        const char c = selectors[at];
        if (c == '\\') {
            ++at;
        } else if (quote) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '(' || c == '[') {
            open += c == '(' ? ')' : ']';
        } else if (c == ')' || c == ']') {
            if (open.empty() || open.back() != c)
                return false;
            open.pop_back();
        }
    }
    return open.empty() && !quote;
}

}  // namespace

struct HTMLDocument::Parser {
    Parser() = default;
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;
    ~Parser() {
        if (tree)
            myhtml_tree_destroy(tree);
        if (html)
            myhtml_destroy(html);
    }

    bool start() {
        html = myhtml_create();
        if (!html || myhtml_init(html, MyHTML_OPTIONS_PARSE_MODE_SINGLE, 1, 0) != MyCORE_STATUS_OK)
            return false;
        tree = myhtml_tree_create();
        return tree && myhtml_tree_init(tree, html) == MyCORE_STATUS_OK;
    }

    bool pastLimits() const {
        return nodes > kMaximumNodes || tree->open_elements->length > kMaximumDepth ||
               tree->active_formatting->length > kMaximumDepth;
    }

    myhtml_t* html = nullptr;
    myhtml_tree_t* tree = nullptr;
    std::size_t nodes = 0;
};

struct HTMLDocument::Finder {
    Finder() = default;
    Finder(const Finder&) = delete;
    Finder& operator=(const Finder&) = delete;
    ~Finder() {
        if (finder)
            modest_finder_destroy(finder, true);
        if (entry)
            mycss_entry_destroy(entry, true);
        if (css)
            mycss_destroy(css, true);
    }

    bool start() {
        css = mycss_create();
        if (!css || mycss_init(css) != MyCORE_STATUS_OK)
            return false;
        entry = mycss_entry_create();
        if (!entry || mycss_entry_init(css, entry) != MyCORE_STATUS_OK)
            return false;
        finder = modest_finder_create_simple();
        return finder != nullptr;
    }

    // The matching nodes within scope, in no particular order; scope itself may be among them.
    std::vector<myhtml_tree_node_t*> find(myhtml_tree_node_t* scope, std::string_view selectors) {
        std::vector<myhtml_tree_node_t*> found;
        if (!isBalanced(selectors))
            return found;
        mystatus_t status = MyCORE_STATUS_OK;
        mycss_selectors_t* engine = mycss_entry_selectors(entry);
        mycss_selectors_list_t* list = mycss_selectors_parse(
            engine, MyENCODING_UTF_8, selectors.data(), selectors.size(), &status);
        if (!list)
            return found;
        if (!(list->flags & MyCSS_SELECTORS_FLAGS_SELECTOR_BAD)) {
            myhtml_collection_t* collection = nullptr;
            modest_finder_by_selectors_list(finder, scope, list, &collection);
            if (collection) {
                found.assign(collection->list, collection->list + collection->length);
                myhtml_collection_destroy(collection);
            }
        }
        mycss_selectors_list_destroy(engine, list, true);
        return found;
    }

    mycss_t* css = nullptr;
    mycss_entry_t* entry = nullptr;
    modest_finder_t* finder = nullptr;
};

HTMLDocument::HTMLDocument(Token) {}

HTMLDocument::~HTMLDocument() = default;

std::shared_ptr<const HTMLDocument> HTMLDocument::parse(
    std::string_view bytes, std::optional<std::string_view> contentType) {
    if (bytes.size() > kMaximumBytes)
        return nullptr;
    auto document = std::make_shared<HTMLDocument>(Token());
    if (!document->load(bytes, contentType))
        return nullptr;
    return document;
}

bool HTMLDocument::load(std::string_view bytes, std::optional<std::string_view> contentType) {
    parser_ = std::make_unique<Parser>();
    if (!parser_->start())
        return false;
    myhtml_tree_t* tree = parser_->tree;
    myhtml_encoding_set(tree, encodingOf(bytes, contentType));
    myhtml_callback_tree_node_insert_set(tree, countInsertedNode, &parser_->nodes);
    for (std::size_t at = 0; at < bytes.size(); at += kChunkBytes) {
        std::size_t size = std::min(kChunkBytes, bytes.size() - at);
        if (myhtml_parse_chunk(tree, bytes.data() + at, size) != MyCORE_STATUS_OK)
            return false;
        if (parser_->pastLimits()) {
            truncated_ = true;
            break;
        }
    }
    // Ending a parse whose bytes decoded to nothing (none at all, half a UTF-16 unit) crashes
    // Modest; a whole parse of no bytes gives the empty document instead.
    bool ended = tree->incoming_buf
                     ? myhtml_parse_chunk_end(tree) == MyCORE_STATUS_OK
                     : myhtml_parse(tree, MyENCODING_UTF_8, "", 0) == MyCORE_STATUS_OK;
    myhtml_callback_tree_node_insert_set(tree, nullptr, nullptr);
    return ended && myhtml_tree_get_node_html(tree);
}

std::optional<HTMLElement> HTMLDocument::element(myhtml_tree_node* node) const {
    if (!node)
        return std::nullopt;
    return HTMLElement(shared_from_this(), node);
}

HTMLElement HTMLDocument::documentElement() const {
    return HTMLElement(shared_from_this(), myhtml_tree_get_node_html(parser_->tree));
}

std::optional<HTMLElement> HTMLDocument::head() const {
    return element(myhtml_tree_get_node_head(parser_->tree));
}

std::optional<HTMLElement> HTMLDocument::body() const {
    return element(myhtml_tree_get_node_body(parser_->tree));
}

std::string HTMLDocument::title() const {
    myhtml_tree_node_t* root = myhtml_tree_get_node_html(parser_->tree);
    for (myhtml_tree_node_t* node = root; node; node = HTMLElement::following(node, root)) {
        if (myhtml_node_tag_id(node) == MyHTML_TAG_TITLE &&
            myhtml_node_namespace(node) == MyHTML_NAMESPACE_HTML)
            return collapsedWhiteSpace(HTMLElement(shared_from_this(), node).textContent());
    }
    return {};
}

std::optional<HTMLElement> HTMLDocument::querySelector(std::string_view selectors) const {
    auto found = querySelectorAll(selectors);
    if (found.empty())
        return std::nullopt;
    return found.front();
}

std::vector<HTMLElement> HTMLDocument::querySelectorAll(std::string_view selectors) const {
    return select(myhtml_tree_get_document(parser_->tree), selectors);
}

std::vector<HTMLElement> HTMLDocument::select(myhtml_tree_node* scope,
                                              std::string_view selectors) const {
    std::unordered_set<myhtml_tree_node_t*> matches;
    {
        std::lock_guard lock(finderMutex_);
        if (!finder_) {
            auto finder = std::make_unique<Finder>();
            if (!finder->start())
                return {};
            finder_ = std::move(finder);
        }
        auto found = finder_->find(scope, selectors);
        matches.insert(found.begin(), found.end());
    }
    // The engine answers selector by selector and may name the scope itself; callers expect
    // descendants in document order, each once.
    std::vector<HTMLElement> result;
    for (myhtml_tree_node_t* node = myhtml_node_child(scope); node && !matches.empty();
         node = HTMLElement::following(node, scope)) {
        if (matches.erase(node))
            result.push_back(HTMLElement(shared_from_this(), node));
    }
    return result;
}

}  // namespace html
