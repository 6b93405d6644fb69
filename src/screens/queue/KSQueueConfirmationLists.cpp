#include "screens/queue/KSQueueConfirmationLists.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <utility>

#include "foundation/Strings.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/storage/KSDatabase.h"

namespace corvane {

namespace {

bool sameIdentifier(const std::string& a, const std::string& b) {
    return foundation::lowercase(a) == foundation::lowercase(b);
}

bool holds(const std::vector<KSRPackage>& list, const std::string& identifier) {
    return std::ranges::any_of(list, [&](const KSRPackage& package) {
        return sameIdentifier(package.identifier, identifier);
    });
}

bool isNameCharacter(unsigned char character) {
    return std::isalnum(character) || character == '+' || character == '-' || character == '.';
}

// The words of a line of APT that may be package names, in lower case: "of 'foo:iphoneos-arm'."
// names "foo".
std::set<std::string> packageWordsOf(std::string_view line) {
    std::set<std::string> words;
    std::string word;
    const auto endWord = [&] {
        while (!word.empty() && word.back() == '.')
            word.pop_back();
        if (!word.empty())
            words.insert(std::move(word));
        word.clear();
    };
    for (const unsigned char character : line) {
        if (isNameCharacter(character))
            word += static_cast<char>(std::tolower(character));
        else
            endWord();
    }
    endWord();
    return words;
}

}  // namespace

KSQueueConfirmationLists KSQueueConfirmationLists::fromQueue(
    const std::vector<KSRPackage>& queued) {
    KSQueueConfirmationLists lists;
    for (const auto& package : queued) {
        const auto word = KSAPTManager::queueStringForKSRPackageArray({package});
        if (word) {
            lists.lists_[queuedPackages].push_back(package);
            continue;
        }
        lists.refusals_[package.identifier] = word.error().localizedDescription();
        lists.lists_[incompatiblePackages].push_back(package);
    }
    return lists;
}

const std::vector<KSRPackage>& KSQueueConfirmationLists::section(int section) const {
    static const std::vector<KSRPackage> none;
    if (section < 0 || section >= kSectionCount)
        return none;
    return lists_[section];
}

std::optional<std::string> KSQueueConfirmationLists::refusalOf(
    const std::string& identifier) const {
    const auto refusal = refusals_.find(identifier);
    if (refusal == refusals_.end())
        return std::nullopt;
    return refusal->second;
}

std::optional<std::string> KSQueueConfirmationLists::queueString() const {
    if (lists_[queuedPackages].empty())
        return std::nullopt;
    auto queue = KSAPTManager::queueStringForKSRPackageArray(lists_[queuedPackages]);
    if (!queue)
        return std::nullopt;
    return std::move(*queue);
}

bool KSQueueConfirmationLists::canProceed() const {
    return !lists_[queuedPackages].empty() && lists_[incompatiblePackages].empty();
}

void KSQueueConfirmationLists::applyTree(const APTDependsTree& tree) {
    for (const auto* list : {&tree.depends, &tree.removes})
        for (const auto& identifier : *list)
            addRequired(identifier);
    for (const auto& identifier : tree.incompatible)
        moveIncompatible(identifier);
    applyFailure(tree.failure);
}

void KSQueueConfirmationLists::applyFailure(const std::vector<std::string>& lines) {
    std::vector<std::pair<std::string, std::string>> failing;
    for (const auto& line : lines)
        for (auto& identifier : queuedConcernedBy(line))
            failing.emplace_back(std::move(identifier), line);
    for (const auto& [identifier, line] : failing) {
        auto& reason = refusals_[identifier];
        if (!foundation::contains(reason, line))
            reason += (reason.empty() ? "" : "\n") + line;
        moveIncompatible(identifier);
    }
}

// A line that names a package already set apart for it concerns none of the others.
std::vector<std::string> KSQueueConfirmationLists::queuedConcernedBy(
    const std::string& line) const {
    const auto words = packageWordsOf(line);
    const auto named = [&](const KSRPackage& package) {
        return words.contains(foundation::lowercase(package.identifier));
    };
    const bool namesAny = std::ranges::any_of(lists_[queuedPackages], named) ||
                          std::ranges::any_of(lists_[incompatiblePackages], named);
    std::vector<std::string> concerned;
    for (const auto& package : lists_[queuedPackages])
        if (!namesAny || named(package))
            concerned.push_back(package.identifier);
    return concerned;
}

void KSQueueConfirmationLists::addRequired(const std::string& identifier) {
    if (holds(lists_[queuedPackages], identifier) || holds(lists_[requiredPackages], identifier))
        return;
    auto record = KSDatabase::realm()
                      .objectsWhere<KSRPackage>("identifier ==[c] %@", identifier)
                      .firstObject();
    if (record)
        lists_[requiredPackages].push_back(std::move(*record));
}

void KSQueueConfirmationLists::moveIncompatible(const std::string& identifier) {
    for (const int from : {queuedPackages, requiredPackages}) {
        auto& list = lists_[from];
        auto moved = std::ranges::stable_partition(list, [&](const KSRPackage& package) {
            return !sameIdentifier(package.identifier, identifier);
        });
        std::move(moved.begin(), moved.end(), std::back_inserter(lists_[incompatiblePackages]));
        list.erase(moved.begin(), moved.end());
    }
}

std::optional<KSRPackage> KSQueueConfirmationLists::removeRow(int section, int row) {
    if (section < 0 || section >= kSectionCount || row < 0 ||
        static_cast<std::size_t>(row) >= lists_[section].size())
        return std::nullopt;
    auto& list = lists_[section];
    auto removed = std::move(list[row]);
    list.erase(list.begin() + row);
    return removed;
}

}  // namespace corvane
