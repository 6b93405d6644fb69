#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Log.h"
#include "uikit/NibRegistry.h"

namespace uikit {

// Views waiting to be shown again, by reuse identifier, and the builders that make new ones when
// none waits. A view taken from the pool is prepared for reuse first; the same object comes
// back, never a copy. What a builder makes carries the identifier it was registered under.
template <typename Element>
class ReusePool {
  public:
    using Builder = std::function<std::shared_ptr<Element>()>;

    void registerBuilder(const std::string& identifier, Builder builder) {
        builders_[identifier] = [identifier, builder = std::move(builder)] {
            auto element = builder ? builder() : nullptr;
            if (element)
                element->reuseIdentifier_ = identifier;
            return element;
        };
    }
    // Views made by the nib's builder, which awakeFromNib then prepares. A nib that makes
    // something else is logged under the kind of view expected.
    void registerNib(const std::string& nibName, const std::string& identifier,
                     const std::string& kind) {
        builders_[identifier] = [nibName, identifier, kind]() -> std::shared_ptr<Element> {
            auto element =
                std::dynamic_pointer_cast<Element>(NibRegistry::shared().instantiate(nibName));
            if (!element) {
                foundation::logPlain("The nib \"" + nibName + "\" does not make a " + kind);
                return nullptr;
            }
            element->reuseIdentifier_ = identifier;
            element->awakeFromNib();
            return element;
        };
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
