#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "foundation/ObservationToken.h"
#include "store/LiveQuery.h"
#include "store/PredicateArgument.h"
#include "store/PredicateTranslator.h"
#include "store/RealmCore.h"
#include "store/Schema.h"
#include "store/StoreError.h"
#include "store/ValueReader.h"

namespace store {

class Realm;

// A live result set: it answers from the database as it is at each call, re-reading after any
// write. Objects are read when asked for and returned as copies. Copies of a Results share one
// query and its cached answer; every method may be called from any thread.
template <typename T>
class Results {
  public:
    class Iterator;
    struct Sentinel {};

    std::size_t count() const { return rowids()->size(); }
    // No object matches; found out without listing every match.
    bool isEmpty() const { return live_->isEmpty(*core_); }
    // Throws std::out_of_range past the end.
    T objectAtIndex(std::size_t index) const;
    T operator[](std::size_t index) const { return objectAtIndex(index); }
    std::optional<T> firstObject() const;

    // Throws StoreError for a key path that is no scalar property of T.
    Results sortedResultsUsingKeyPath(const std::string& keyPath, bool ascending) const {
        return Results(core_, live_->query().sorted(keyPath, ascending));
    }
    // Keeps the first object, in the current order, of each distinct combination of values.
    Results distinctResultsUsingKeyPaths(const std::vector<std::string>& keyPaths) const {
        return Results(core_, live_->query().distinct(keyPaths));
    }
    // The objects of this set that also match the predicate, in the same order.
    template <typename... Args>
    Results objectsWhere(std::string_view format, const Args&... arguments) const {
        auto condition = PredicateTranslator::translate(T::schema(), format,
                                                        {PredicateArgument::from(arguments)...});
        return Results(core_, live_->query().filtered(condition));
    }

    // Calls the visitor with the values of the scalar properties named, for every object in the
    // set's order, read in one statement without making objects: what a long list needs to
    // group its rows, at a fraction of the cost of reading each object. Throws StoreError for a
    // key path that is no scalar property of T.
    void enumerateValuesForKeyPaths(const std::vector<std::string>& keyPaths,
                                    const ValueReader::Visitor& visit) const {
        ValueReader::read(*core_, live_->query(), keyPaths, visit);
    }

    // The block runs on the main run loop after each committed write of T (or of a class that T
    // lists) for as long as the token is kept.
    [[nodiscard]] foundation::ObservationToken addNotificationBlock(
        std::function<void(const Results&)> block) const {
        return core_->observe(T::schema(),
                              [results = *this, block = std::move(block)] { block(results); });
    }

    // Iterates the objects that the set held when iteration began.
    Iterator begin() const { return Iterator(core_, &table(), rowids()); }
    Sentinel end() const { return {}; }

  private:
    friend class Realm;
    static constexpr int kReadAttempts = 8;

    Results(std::shared_ptr<RealmCore> core, Query query)
        : core_(std::move(core)), live_(std::make_shared<LiveQuery>(std::move(query))) {}

    std::shared_ptr<const std::vector<std::int64_t>> rowids() const {
        return live_->rowids(*core_);
    }
    const Table& table() const { return core_->table(T::schema()); }

    std::shared_ptr<RealmCore> core_;
    std::shared_ptr<LiveQuery> live_;
};

template <typename T>
class Results<T>::Iterator {
  public:
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using reference = const T&;
    using pointer = const T*;
    using iterator_category = std::input_iterator_tag;

    Iterator() = default;
    Iterator(std::shared_ptr<RealmCore> core, const Table* table,
             std::shared_ptr<const std::vector<std::int64_t>> rowids)
        : core_(std::move(core)), table_(table), rowids_(std::move(rowids)) {
        loadNextChunk();
    }

    const T& operator*() const { return chunk_[position_]; }
    const T* operator->() const { return &chunk_[position_]; }
    Iterator& operator++() {
        if (++position_ >= chunk_.size())
            loadNextChunk();
        return *this;
    }
    void operator++(int) { ++*this; }
    bool operator==(const Sentinel&) const { return position_ >= chunk_.size(); }

  private:
    static constexpr std::size_t kChunkSize = 256;

    // Reads the objects of the next rows in one statement; rows deleted meanwhile are skipped.
    void loadNextChunk() {
        chunk_.clear();
        position_ = 0;
        while (chunk_.empty() && rowids_ && next_ < rowids_->size()) {
            auto end = std::min(next_ + kChunkSize, rowids_->size());
            std::vector<std::int64_t> ids(rowids_->begin() + next_, rowids_->begin() + end);
            next_ = end;
            std::unordered_map<std::int64_t, std::size_t> slots;
            for (std::size_t i = 0; i < ids.size(); ++i)
                slots[ids[i]] = i;
            std::vector<std::optional<T>> loaded(ids.size());
            auto connection = core_->connection();
            table_->readRowids(*connection, ids, [&](std::int64_t rowid) -> void* {
                return &loaded[slots.at(rowid)].emplace();
            });
            for (auto& object : loaded)
                if (object)
                    chunk_.push_back(std::move(*object));
        }
    }

    std::shared_ptr<RealmCore> core_;
    const Table* table_ = nullptr;
    std::shared_ptr<const std::vector<std::int64_t>> rowids_;
    std::size_t next_ = 0;
    std::vector<T> chunk_;
    std::size_t position_ = 0;
};

template <typename T>
T Results<T>::objectAtIndex(std::size_t index) const {
    // A row listed a moment ago may have been deleted by another thread since: ask again.
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        auto ids = rowids();
        if (index >= ids->size())
            throw std::out_of_range("index " + std::to_string(index) + " beyond the " +
                                    std::to_string(ids->size()) + " results");
        T record{};
        auto connection = core_->connection();
        if (table().readByRowid(*connection, (*ids)[index], &record))
            return record;
        live_->invalidate();
    }
    throw StoreError("the results kept changing while being read");
}

template <typename T>
std::optional<T> Results<T>::firstObject() const {
    try {
        return objectAtIndex(0);
    } catch (const std::out_of_range&) {
        return std::nullopt;
    }
}

}  // namespace store
