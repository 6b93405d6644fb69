#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace uikit {

class View;
class ViewController;

// Nibs built in code: each nib name maps to a function that builds the view tree and sets the
// outlets, on the owner (a controller) when there is one, else on the views it builds (a cell).
class NibRegistry {
  public:
    using Builder =
        std::function<std::shared_ptr<View>(const std::shared_ptr<ViewController>& owner)>;

    static NibRegistry& shared();

    // Replaces any earlier builder of the name.
    void registerNib(const std::string& name, Builder builder);
    bool contains(const std::string& name) const;
    // A fresh view tree of the nib; null when no nib has the name.
    std::shared_ptr<View> instantiate(const std::string& name,
                                      const std::shared_ptr<ViewController>& owner = nullptr) const;

  private:
    mutable std::mutex mutex_;
    std::map<std::string, Builder> builders_;
};

}  // namespace uikit
