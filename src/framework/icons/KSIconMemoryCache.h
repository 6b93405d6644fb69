#pragma once

#include <cstddef>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "uikit/Image.h"

namespace corvane {

// The icons shown lately, by cache file path, so that scrolling a list does not decode the same
// files again; the least recently used ones go first. Not locked: its owner serialises access.
class KSIconMemoryCache {
  public:
    static constexpr std::size_t kDefaultCapacity = 300;

    explicit KSIconMemoryCache(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

    std::shared_ptr<uikit::Image> icon(const std::string& path);
    void setIcon(const std::string& path, std::shared_ptr<uikit::Image> icon);

  private:
    using Entry = std::pair<std::string, std::shared_ptr<uikit::Image>>;

    std::size_t capacity_ = kDefaultCapacity;
    std::list<Entry> entries_;  // most recently used first
    std::map<std::string, std::list<Entry>::iterator> index_;
};

}  // namespace corvane
