#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "uikit/Switch.h"

namespace corvane {

// The methods a plist-driven screen lets its rows name: texts, tap actions and switch actions,
// each registered under the name a property list uses. Only what a screen registered here can
// run; any other name is ignored, so a description read from a file or built from outside data
// cannot call into the program.
class KSTableMethods {
  public:
    using TextProvider = std::function<std::string()>;
    using Action = std::function<void()>;
    using SwitchAction = std::function<void(uikit::Switch& sender)>;

    // A later registration of a name replaces the earlier one.
    void registerTextProvider(std::string name, TextProvider provider);
    void registerAction(std::string name, Action action);
    void registerSwitchAction(std::string name, SwitchAction action);

    // The provider's text, or nothing when no provider has the name.
    std::optional<std::string> text(const std::string& name) const;
    // Runs the action; false when no action has the name.
    bool perform(const std::string& name) const;
    // Null when no switch action has the name.
    SwitchAction switchAction(const std::string& name) const;

  private:
    std::map<std::string, TextProvider> textProviders_;
    std::map<std::string, Action> actions_;
    std::map<std::string, SwitchAction> switchActions_;
};

}  // namespace corvane
