#include "framework/links/URLsFromString.h"

#include <algorithm>

namespace corvane {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSchemeCharacter(char c) {
    return isLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

bool isURLCharacter(char c) {
    static constexpr std::string_view kPunctuation = "-._~:/?#[]@!$&'()*+,;=%";
    return isSchemeCharacter(c) || kPunctuation.find(c) != std::string_view::npos;
}

// Where the scheme in front of "://" at separator starts; separator when there is none.
std::size_t schemeStart(std::string_view text, std::size_t separator) {
    std::size_t start = separator;
    while (start > 0 && isSchemeCharacter(text[start - 1]))
        --start;
    while (start < separator && !isLetter(text[start]))
        ++start;
    return start;
}

bool closesUnopened(std::string_view candidate) {
    const char last = candidate.back();
    if (last != ')' && last != ']')
        return false;
    const char opening = last == ')' ? '(' : '[';
    return std::count(candidate.begin(), candidate.end(), opening) <
           std::count(candidate.begin(), candidate.end(), last);
}

// The address without what belongs to the sentence around it.
std::string_view withoutTrailingPunctuation(std::string_view candidate) {
    static constexpr std::string_view kSentencePunctuation = ".,;:!?'";
    while (!candidate.empty() &&
           (kSentencePunctuation.find(candidate.back()) != std::string_view::npos ||
            closesUnopened(candidate)))
        candidate.remove_suffix(1);
    return candidate;
}

}  // namespace

std::vector<foundation::URL> URLs(std::string_view text) {
    std::vector<foundation::URL> urls;
    std::size_t position = 0;
    while ((position = text.find("://", position)) != std::string_view::npos) {
        const std::size_t start = schemeStart(text, position);
        std::size_t end = position + 3;
        while (end < text.size() && isURLCharacter(text[end]))
            ++end;
        const std::string_view candidate =
            withoutTrailingPunctuation(text.substr(start, end - start));
        if (start < position && candidate.size() > position - start + 3) {
            auto url = foundation::URL::withString(candidate);
            if (url && !url->scheme().empty() && !url->host().empty())
                urls.push_back(std::move(*url));
        }
        position = std::max(end, position + 3);
    }
    return urls;
}

}  // namespace corvane
