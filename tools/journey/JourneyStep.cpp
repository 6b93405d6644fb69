#include "JourneyStep.h"

#include <array>
#include <sstream>
#include <utility>

#include "foundation/Format.h"

namespace corvane::journey {

namespace {

constexpr std::array<std::pair<const char*, JourneyStep::Kind>, 6> kKinds = {{
    {"open", JourneyStep::Kind::open},
    {"tap", JourneyStep::Kind::tap},
    {"press", JourneyStep::Kind::press},
    {"expect", JourneyStep::Kind::expect},
    {"show", JourneyStep::Kind::show},
    {"shortcut", JourneyStep::Kind::shortcut},
}};

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

foundation::Error unreadable(int line, const std::string& text) {
    return foundation::Error::make(
        "JourneyStep", 1,
        foundation::format("Line %@: \"%@\" is no step (open, tap, press, expect, show or "
                           "shortcut, followed by what it acts on)",
                           std::to_string(line), text));
}

}  // namespace

std::string JourneyStep::text() const {
    for (const auto& [word, kindOfWord] : kKinds)
        if (kindOfWord == kind)
            return std::string(word) + " " + argument;
    return argument;
}

foundation::Result<std::vector<JourneyStep>> JourneyStep::parse(const std::string& steps) {
    std::vector<JourneyStep> parsed;
    std::istringstream lines(steps);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        line = trimmed(line);
        if (line.empty() || line.front() == '#')
            continue;
        const auto blank = line.find(' ');
        const auto word = line.substr(0, blank);
        const auto argument =
            blank == std::string::npos ? std::string() : trimmed(line.substr(blank));
        bool known = false;
        for (const auto& [name, kind] : kKinds) {
            if (word != name || argument.empty())
                continue;
            parsed.push_back({kind, argument, number});
            known = true;
        }
        if (!known)
            return unreadable(number, line);
    }
    return parsed;
}

}  // namespace corvane::journey
