#include "framework/debian/ShellQuote.h"

namespace corvane {

std::string ShellQuote::quote(std::string_view word) {
    std::string quoted = "'";
    for (const char character : word) {
        if (character == '\'')
            quoted += "'\\''";
        else
            quoted += character;
    }
    return quoted + "'";
}

std::string ShellQuote::join(const std::vector<std::string>& words) {
    std::string line;
    for (const auto& word : words) {
        if (!line.empty())
            line += ' ';
        line += quote(word);
    }
    return line;
}

}  // namespace corvane
