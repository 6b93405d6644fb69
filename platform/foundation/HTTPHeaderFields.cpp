#include "foundation/HTTPHeaderFields.h"

#include <algorithm>
#include <cctype>

namespace foundation {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool isToken(std::string_view name) {
    static constexpr std::string_view kSymbols = "!#$%&'*+-.^_`|~";
    return !name.empty() && std::ranges::all_of(name, [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) ||
               kSymbols.find(c) != std::string_view::npos;
    });
}

std::string singleLine(std::string_view value) {
    std::string line(value);
    std::ranges::replace_if(
        line, [](char c) { return c == '\r' || c == '\n' || c == '\0'; }, ' ');
    return line;
}

}  // namespace

std::optional<std::string> HTTPHeaderFields::value(std::string_view name) const {
    auto field = find(name);
    if (field == fields_.end())
        return std::nullopt;
    return field->second;
}

void HTTPHeaderFields::set(std::string_view name, std::optional<std::string_view> value) {
    if (!isToken(name))
        return;
    auto field = find(name);
    if (!value) {
        if (field != fields_.end())
            fields_.erase(field);
    } else if (field != fields_.end()) {
        field->second = singleLine(*value);
    } else {
        fields_.emplace_back(std::string(name), singleLine(*value));
    }
}

void HTTPHeaderFields::add(std::string_view name, std::string_view value) {
    auto field = find(name);
    if (field == fields_.end())
        set(name, value);
    else
        field->second += ", " + singleLine(value);
}

std::vector<HTTPHeaderFields::Field>::iterator HTTPHeaderFields::find(std::string_view name) {
    return std::ranges::find_if(fields_,
                                [name](const Field& field) { return sameName(field.first, name); });
}

std::vector<HTTPHeaderFields::Field>::const_iterator HTTPHeaderFields::find(
    std::string_view name) const {
    return std::ranges::find_if(fields_,
                                [name](const Field& field) { return sameName(field.first, name); });
}

}  // namespace foundation
