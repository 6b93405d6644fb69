#include "SharedData.h"

#include "RepositoryGenerator.h"

namespace corvane::bench {

const std::string& packagesIndex() {
    static const std::string index = RepositoryGenerator().packagesIndex(kIndexStanzas);
    return index;
}

const std::string& distributionIndex() {
    static const std::string index = RepositoryGenerator().distributionIndex(kIndexStanzas);
    return index;
}

const char* nameOf(IndexShape shape) {
    return shape == IndexShape::repository ? "repository" : "distribution";
}

const std::string& indexOf(IndexShape shape) {
    return shape == IndexShape::repository ? packagesIndex() : distributionIndex();
}

const std::vector<std::pair<std::string, std::string>>& versionPairs() {
    static const auto pairs = RepositoryGenerator(7).versionPairs(100000);
    return pairs;
}

const std::vector<std::pair<std::string, std::string>>& differingVersionPairs() {
    static const auto pairs = [] {
        std::vector<std::pair<std::string, std::string>> differing;
        for (const auto& pair : versionPairs()) {
            if (pair.first != pair.second)
                differing.push_back(pair);
        }
        return differing;
    }();
    return pairs;
}

}  // namespace corvane::bench
