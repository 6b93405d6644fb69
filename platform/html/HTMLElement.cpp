#include "html/HTMLElement.h"

#include <myhtml/myhtml.h>
#include <myhtml/serialization.h>
#include <myhtml/tree.h>

#include "foundation/Strings.h"
#include "html/HTMLDocument.h"

namespace html {

namespace {

std::string text(const char* data, std::size_t length) {
    return data ? std::string(data, length) : std::string();
}

mystatus_t appendTo(const char* buffer, std::size_t size, void* output) {
    static_cast<std::string*>(output)->append(buffer, size);
    return MyCORE_STATUS_OK;
}

std::string serialized(myhtml_tree_node_t* node) {
    std::string output;
    myhtml_serialization_tree_callback(node, appendTo, &output);
    return output;
}

}  // namespace

bool HTMLElement::isElement(const myhtml_tree_node* node) {
    switch (myhtml_node_tag_id(const_cast<myhtml_tree_node*>(node))) {
        case MyHTML_TAG__UNDEF:
        case MyHTML_TAG__TEXT:
        case MyHTML_TAG__COMMENT:
        case MyHTML_TAG__DOCTYPE:
            return false;
        default:
            return true;
    }
}

myhtml_tree_node* HTMLElement::following(myhtml_tree_node* node, const myhtml_tree_node* scope) {
    if (myhtml_tree_node_t* child = myhtml_node_child(node))
        return child;
    while (node && node != scope) {
        if (myhtml_tree_node_t* next = myhtml_node_next(node))
            return next;
        node = myhtml_node_parent(node);
    }
    return nullptr;
}

std::string HTMLElement::tagName() const {
    std::size_t length = 0;
    const char* name = myhtml_tag_name_by_id(node_->tree, myhtml_node_tag_id(node_), &length);
    return text(name, length);
}

std::optional<std::string> HTMLElement::attribute(std::string_view name) const {
    std::string key = foundation::lowercase(name);
    myhtml_tree_attr_t* attribute = myhtml_attribute_by_key(node_, key.data(), key.size());
    if (!attribute)
        return std::nullopt;
    std::size_t length = 0;
    const char* value = myhtml_attribute_value(attribute, &length);
    return text(value, length);
}

std::vector<std::pair<std::string, std::string>> HTMLElement::attributes() const {
    std::vector<std::pair<std::string, std::string>> result;
    for (myhtml_tree_attr_t* attribute = myhtml_node_attribute_first(node_); attribute;
         attribute = myhtml_attribute_next(attribute)) {
        std::size_t keyLength = 0;
        std::size_t valueLength = 0;
        const char* key = myhtml_attribute_key(attribute, &keyLength);
        const char* value = myhtml_attribute_value(attribute, &valueLength);
        result.emplace_back(text(key, keyLength), text(value, valueLength));
    }
    return result;
}

std::string HTMLElement::textContent() const {
    std::string result;
    for (myhtml_tree_node_t* node = myhtml_node_child(node_); node; node = following(node, node_)) {
        if (myhtml_node_tag_id(node) != MyHTML_TAG__TEXT)
            continue;
        std::size_t length = 0;
        const char* data = myhtml_node_text(node, &length);
        if (data)
            result.append(data, length);
    }
    return result;
}

std::string HTMLElement::innerHTML() const {
    std::string result;
    for (myhtml_tree_node_t* child = myhtml_node_child(node_); child;
         child = myhtml_node_next(child))
        result += serialized(child);
    return result;
}

std::string HTMLElement::outerHTML() const {
    return serialized(node_);
}

std::vector<HTMLElement> HTMLElement::children() const {
    std::vector<HTMLElement> result;
    for (myhtml_tree_node_t* child = myhtml_node_child(node_); child;
         child = myhtml_node_next(child))
        if (isElement(child))
            result.push_back(HTMLElement(document_, child));
    return result;
}

std::vector<HTMLContent> HTMLElement::contents() const {
    std::vector<HTMLContent> result;
    for (myhtml_tree_node_t* child = myhtml_node_child(node_); child;
         child = myhtml_node_next(child)) {
        if (myhtml_node_tag_id(child) == MyHTML_TAG__TEXT) {
            std::size_t length = 0;
            if (const char* data = myhtml_node_text(child, &length))
                result.emplace_back(std::string(data, length));
        } else if (isElement(child)) {
            result.emplace_back(HTMLElement(document_, child));
        }
    }
    return result;
}

std::optional<HTMLElement> HTMLElement::parentElement() const {
    myhtml_tree_node_t* parent = myhtml_node_parent(node_);
    if (!parent || !isElement(parent))
        return std::nullopt;
    return HTMLElement(document_, parent);
}

std::optional<HTMLElement> HTMLElement::querySelector(std::string_view selectors) const {
    auto found = document_->select(node_, selectors);
    if (found.empty())
        return std::nullopt;
    return found.front();
}

std::vector<HTMLElement> HTMLElement::querySelectorAll(std::string_view selectors) const {
    return document_->select(node_, selectors);
}

}  // namespace html
