#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <unordered_set>
#include <vector>

namespace foundation {

// Unique elements in the order they were first added.
template <typename T, typename Hash = std::hash<T>>
class OrderedSet {
  public:
    using const_iterator = typename std::vector<T>::const_iterator;

    OrderedSet() = default;
    OrderedSet(std::initializer_list<T> elements) {
        for (const auto& element : elements)
            add(element);
    }

    // False when the element was there already; it keeps its place.
    bool add(const T& element) {
        if (!members_.insert(element).second)
            return false;
        elements_.push_back(element);
        return true;
    }
    bool remove(const T& element) {
        if (members_.erase(element) == 0)
            return false;
        elements_.erase(std::find(elements_.begin(), elements_.end(), element));
        return true;
    }
    bool contains(const T& element) const { return members_.count(element) > 0; }

    const T& operator[](std::size_t index) const { return elements_[index]; }
    std::size_t size() const { return elements_.size(); }
    bool empty() const { return elements_.empty(); }
    const_iterator begin() const { return elements_.begin(); }
    const_iterator end() const { return elements_.end(); }
    const std::vector<T>& array() const { return elements_; }

  private:
    std::vector<T> elements_;
    std::unordered_set<T, Hash> members_;
};

}  // namespace foundation
