#include "framework/icons/KSIconMemoryCache.h"

namespace corvane {

std::shared_ptr<uikit::Image> KSIconMemoryCache::icon(const std::string& path) {
    auto found = index_.find(path);
    if (found == index_.end())
        return nullptr;
    entries_.splice(entries_.begin(), entries_, found->second);
    return found->second->second;
}

void KSIconMemoryCache::setIcon(const std::string& path, std::shared_ptr<uikit::Image> icon) {
    if (auto found = index_.find(path); found != index_.end()) {
        entries_.erase(found->second);
        index_.erase(found);
    }
    entries_.emplace_front(path, std::move(icon));
    index_[path] = entries_.begin();
    while (entries_.size() > capacity_) {
        index_.erase(entries_.back().first);
        entries_.pop_back();
    }
}

}  // namespace corvane
