#include "app/urls/KSURLQueryParser.h"

#include <algorithm>

#include "foundation/Strings.h"

namespace corvane {

std::optional<std::string> KSURLQueryParser::parseComponents(std::string_view pairs,
                                                             std::string_view key) {
    std::optional<std::string> found;
    for (const auto& pair : foundation::split(pairs, "&")) {
        const auto equals = pair.find('=');
        if (equals == std::string::npos)
            continue;
        if (formDecoded(std::string_view(pair).substr(0, equals)) != key)
            continue;
        found = formDecoded(std::string_view(pair).substr(equals + 1));
    }
    return found;
}

std::optional<std::string> KSURLQueryParser::formDecoded(std::string_view text) {
    std::string blanks(text);
    std::ranges::replace(blanks, '+', ' ');
    return foundation::percentDecode(blanks);
}

}  // namespace corvane
