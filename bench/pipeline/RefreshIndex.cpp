#include "RefreshIndex.h"

#include <map>

#include "framework/RepositoryGenerator.h"

namespace corvane::bench {

const std::vector<RefreshIndex>& refreshIndexes() {
    static const std::vector<RefreshIndex> indexes = {
        {"15k", IndexShape::repository, 15000},
        {"60k", IndexShape::repository, 60000},
        {"debian", IndexShape::distribution, 63440},
    };
    return indexes;
}

const RefreshIndex& launchIndex() {
    return refreshIndexes()[1];
}

const std::string& textOf(const RefreshIndex& index) {
    static std::map<std::string, std::string> texts;
    auto& text = texts[index.name];
    if (text.empty())
        text = index.shape == IndexShape::repository
                   ? RepositoryGenerator().packagesIndex(index.stanzas)
                   : RepositoryGenerator().distributionIndex(index.stanzas);
    return text;
}

}  // namespace corvane::bench
