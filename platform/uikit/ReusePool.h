#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace uikit {

// Views waiting to be shown again, by reuse identifier, and the builders that make new ones when
// none waits. A view taken from the pool is prepared for reuse first; the same object comes
// back, never a copy.
template <typename Element>
class ReusePool {
  public:
    using Builder = std::function<std::shared_ptr<Element>()>;

    void registerBuilder(const std::string& identifier, Builder builder) {
        builders_[identifier] = std::move(builder);
    }
    bool isRegistered(const std::string& identifier) const {
        return builders_.contains(identifier);
    }
    void enqueue(const std::string& identifier, std::shared_ptr<Element> element) {
        if (!identifier.empty())
            waiting_[identifier].push_back(std::move(element));
    }
    // A waiting view (prepared for reuse), else a new one; null when neither is possible.
    std::shared_ptr<Element> dequeue(const std::string& identifier) {
        if (auto found = waiting_.find(identifier);
            found != waiting_.end() && !found->second.empty()) {
            auto element = std::move(found->second.back());
            found->second.pop_back();
            element->prepareForReuse();
            return element;
        }
        auto builder = builders_.find(identifier);
        return builder == builders_.end() ? nullptr : builder->second();
    }

  private:
    std::map<std::string, Builder> builders_;
    std::map<std::string, std::vector<std::shared_ptr<Element>>> waiting_;
};

}  // namespace uikit
