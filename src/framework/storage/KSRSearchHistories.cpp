#include "framework/storage/KSRSearchHistories.h"

#include "foundation/Date.h"
#include "foundation/Strings.h"
#include "framework/storage/KSDatabase.h"

namespace corvane {

void KSRSearchHistories::addSearchText(const std::string& text) {
    auto searchText = foundation::trimmed(text);
    if (searchText.empty())
        return;
    auto realm = KSDatabase::realm();
    realm.write([&] {
        realm.addOrUpdateObject(KSRSearchHistory{searchText, foundation::Date::now()});
    });
}

store::Results<KSRSearchHistory> KSRSearchHistories::searchHistories() const {
    return KSDatabase::realm().allObjects<KSRSearchHistory>().sortedResultsUsingKeyPath("date",
                                                                                        false);
}

}  // namespace corvane
