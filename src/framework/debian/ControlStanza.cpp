#include "framework/debian/ControlStanza.h"

#include <cstring>

namespace corvane {

std::string ControlStanza::Field::value() const {
    std::string value(text.substr(0, firstLineLength));
    if (!continues())
        return value;
    value.reserve(text.size());
    const char* position = text.data() + firstLineLength;
    const char* const end = text.data() + text.size();
    while (position < end) {
        const auto* newline = static_cast<const char*>(std::memchr(position, '\n', end - position));
        const char* lineBegin = newline ? newline + 1 : end;
        if (lineBegin >= end)
            break;
        if (*lineBegin == ' ' || *lineBegin == '\t')
            ++lineBegin;
        const auto* lineEnd =
            static_cast<const char*>(std::memchr(lineBegin, '\n', end - lineBegin));
        position = lineEnd ? lineEnd : end;
        if (!value.empty())
            value += '\n';
        value.append(lineBegin, withoutTrailingBlanks(lineBegin, position));
    }
    return value;
}

bool ControlStanza::contains(std::string_view name) const {
    for (const auto& field : fields_) {
        if (field.name == name)
            return true;
    }
    return false;
}

const ControlStanza::Field* ControlStanza::field(std::string_view name) const {
    for (auto field = fields_.rbegin(); field != fields_.rend(); ++field) {
        if (field->name == name)
            return &*field;
    }
    return nullptr;
}

std::optional<ControlContact> contactOf(std::string_view value) {
    if (value.size() < 3 || value.back() != '>')
        return std::nullopt;
    const auto open = value.rfind('<');
    if (open == std::string_view::npos || open + 2 >= value.size())
        return std::nullopt;
    auto person = value.substr(0, open);
    while (!person.empty() &&
           (person.back() == ' ' || person.back() == '\t' || person.back() == '\r'))
        person.remove_suffix(1);
    return ControlContact{person, value.substr(open + 1, value.size() - open - 2)};
}

}  // namespace corvane
