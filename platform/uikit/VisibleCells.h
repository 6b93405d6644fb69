#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "uikit/Geometry.h"

namespace uikit {

// The cells of a table or a collection that are in sight, in the order of their index paths.
template <typename Cell>
class VisibleCells {
  public:
    using Map = std::map<IndexPath, std::shared_ptr<Cell>>;

    const Map& byIndexPath() const { return cells_; }
    std::vector<std::shared_ptr<Cell>> cells() const {
        std::vector<std::shared_ptr<Cell>> cells;
        for (const auto& [indexPath, cell] : cells_)
            cells.push_back(cell);
        return cells;
    }
    // Null for an index path out of sight.
    std::shared_ptr<Cell> find(const IndexPath& indexPath) const {
        auto found = cells_.find(indexPath);
        return found == cells_.end() ? nullptr : found->second;
    }
    std::optional<IndexPath> indexPathOf(const Cell& cell) const {
        for (const auto& [indexPath, visible] : cells_)
            if (visible.get() == &cell)
                return indexPath;
        return std::nullopt;
    }
    bool contains(const IndexPath& indexPath) const { return cells_.contains(indexPath); }
    void add(const IndexPath& indexPath, std::shared_ptr<Cell> cell) {
        cells_[indexPath] = std::move(cell);
    }
    // Every cell leaves sight at once; the caller gives them back.
    Map takeAll() { return std::exchange(cells_, {}); }
    void replaceAll(Map cells) { cells_ = std::move(cells); }

    // Goes through the cells in order: those whose index paths are in the sorted list stay and
    // are handed to `stays`; the others leave and are handed to `leaves` once gone.
    template <typename Stays, typename Leaves>
    void sweep(const std::vector<IndexPath>& inSight, Stays stays, Leaves leaves) {
        for (auto it = cells_.begin(); it != cells_.end();) {
            if (std::binary_search(inSight.begin(), inSight.end(), it->first)) {
                stays(it->first, *it->second);
                ++it;
                continue;
            }
            auto [indexPath, cell] = *it;
            it = cells_.erase(it);
            leaves(indexPath, cell);
        }
    }

  private:
    Map cells_;
};

}  // namespace uikit
