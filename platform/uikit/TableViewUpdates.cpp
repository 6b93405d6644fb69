#include "uikit/TableViewUpdates.h"

#include <algorithm>

namespace uikit {

namespace {

void addSorted(std::vector<IndexPath>& list, const std::vector<IndexPath>& added) {
    list.insert(list.end(), added.begin(), added.end());
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
}

bool contains(const std::vector<IndexPath>& list, const IndexPath& indexPath) {
    return std::binary_search(list.begin(), list.end(), indexPath);
}

int countInSection(const std::vector<IndexPath>& list, int section) {
    return static_cast<int>(std::count_if(list.begin(), list.end(), [section](const IndexPath& ip) {
        return ip.section == section;
    }));
}

bool outside(const std::vector<IndexPath>& list, const std::vector<int>& counts) {
    int sections = static_cast<int>(counts.size());
    return std::any_of(list.begin(), list.end(), [&](const IndexPath& ip) {
        return ip.section < 0 || ip.section >= sections || ip.row < 0 ||
               ip.row >= counts[ip.section];
    });
}

}  // namespace

void TableViewUpdates::deleteRows(const std::vector<IndexPath>& indexPaths) {
    addSorted(deletions_, indexPaths);
}

void TableViewUpdates::insertRows(const std::vector<IndexPath>& indexPaths) {
    addSorted(insertions_, indexPaths);
}

void TableViewUpdates::reloadRows(const std::vector<IndexPath>& indexPaths) {
    addSorted(reloads_, indexPaths);
}

void TableViewUpdates::reloadSections(const std::vector<int>& sections) {
    reloadedSections_.insert(sections.begin(), sections.end());
}

bool TableViewUpdates::empty() const {
    return deletions_.empty() && insertions_.empty() && reloads_.empty() &&
           reloadedSections_.empty();
}

std::optional<IndexPath> TableViewUpdates::newIndexPath(const IndexPath& old) const {
    if (reloadedSections_.contains(old.section) || contains(deletions_, old))
        return std::nullopt;
    int row = old.row;
    for (const auto& deleted : deletions_)
        if (deleted.section == old.section && deleted.row < old.row)
            --row;
    for (const auto& inserted : insertions_)
        if (inserted.section == old.section && inserted.row <= row)
            ++row;
    return IndexPath{old.section, row};
}

std::optional<IndexPath> TableViewUpdates::keptIndexPath(const IndexPath& old) const {
    if (contains(reloads_, old))
        return std::nullopt;
    return newIndexPath(old);
}

std::optional<std::string> TableViewUpdates::inconsistency(const std::vector<int>& before,
                                                           const std::vector<int>& after) const {
    if (before.size() != after.size())
        return "the number of sections changed from " + std::to_string(before.size()) + " to " +
               std::to_string(after.size());
    if (outside(deletions_, before) || outside(reloads_, before) || outside(insertions_, after))
        return "a changed row lies outside its section";
    for (int section = 0; section < static_cast<int>(after.size()); ++section) {
        if (reloadedSections_.contains(section))
            continue;
        int deleted = countInSection(deletions_, section);
        int inserted = countInSection(insertions_, section);
        if (after[section] != before[section] - deleted + inserted)
            return "section " + std::to_string(section) + " had " +
                   std::to_string(before[section]) + " rows, " + std::to_string(deleted) +
                   " deleted and " + std::to_string(inserted) + " inserted, but now has " +
                   std::to_string(after[section]);
    }
    return std::nullopt;
}

}  // namespace uikit
