#pragma once

namespace corvane {

// Told by a search-result row right after it toggled the follow state of its developer, before
// the store has recorded it.
class SearchCellDelegate {
  public:
    virtual ~SearchCellDelegate() = default;
    virtual void followStateChanged() {}
};

}  // namespace corvane
