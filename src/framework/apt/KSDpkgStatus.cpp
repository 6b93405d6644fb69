#include "framework/apt/KSDpkgStatus.h"

#include <sstream>
#include <vector>

namespace corvane {

std::optional<KSDpkgStatus> KSDpkgStatus::parse(const std::string& field) {
    std::istringstream stream(field);
    std::vector<std::string> words;
    for (std::string word; stream >> word;)
        words.push_back(word);
    if (words.size() != 3)
        return std::nullopt;
    return KSDpkgStatus{words[0], words[1], words[2]};
}

bool KSDpkgStatus::isConfigured() const {
    return state == "installed" || state == "triggers-awaited" || state == "triggers-pending";
}

bool KSDpkgStatus::isPartlyInstalled() const {
    return state == "half-installed" || state == "unpacked" || state == "half-configured";
}

bool KSDpkgStatus::isUnfinished() const {
    return isPartlyInstalled() || flag == "reinstreq" || state == "triggers-awaited" ||
           state == "triggers-pending";
}

bool KSDpkgStatus::needsReinstall() const {
    return state == "half-installed" || flag == "reinstreq";
}

}  // namespace corvane
