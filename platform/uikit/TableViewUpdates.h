#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "uikit/Geometry.h"

namespace uikit {

// The row changes a table carries out together. Deletions and reloads name rows as they were,
// insertions rows as they will be; a reloaded section is asked for again whole. The changes
// say where each old row goes and whether they agree with the data's new row counts.
class TableViewUpdates {
  public:
    void deleteRows(const std::vector<IndexPath>& indexPaths);
    void insertRows(const std::vector<IndexPath>& indexPaths);
    void reloadRows(const std::vector<IndexPath>& indexPaths);
    void reloadSections(const std::vector<int>& sections);
    bool empty() const;

    // Where a row is after the changes (deletions apply to the old rows, then insertions to the
    // new ones); nothing for a deleted row or one of a reloaded section.
    std::optional<IndexPath> newIndexPath(const IndexPath& old) const;
    // The same, but nothing for a reloaded row too: where the row's cell and height carry over.
    std::optional<IndexPath> keptIndexPath(const IndexPath& old) const;
    // What is wrong with the changes given each section's row count before and after them, if
    // anything.
    std::optional<std::string> inconsistency(const std::vector<int>& before,
                                             const std::vector<int>& after) const;

  private:
    // Each list sorted, without repeats.
    std::vector<IndexPath> deletions_;
    std::vector<IndexPath> insertions_;
    std::vector<IndexPath> reloads_;
    std::set<int> reloadedSections_;
};

}  // namespace uikit
