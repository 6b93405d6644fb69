#include "ui/table/KSTableMethods.h"

namespace corvane {

void KSTableMethods::registerTextProvider(std::string name, TextProvider provider) {
    textProviders_[std::move(name)] = std::move(provider);
}

void KSTableMethods::registerAction(std::string name, Action action) {
    actions_[std::move(name)] = std::move(action);
}

void KSTableMethods::registerSwitchAction(std::string name, SwitchAction action) {
    switchActions_[std::move(name)] = std::move(action);
}

std::optional<std::string> KSTableMethods::text(const std::string& name) const {
    auto found = textProviders_.find(name);
    if (found == textProviders_.end() || !found->second)
        return std::nullopt;
    return found->second();
}

bool KSTableMethods::perform(const std::string& name) const {
    auto found = actions_.find(name);
    if (found == actions_.end() || !found->second)
        return false;
    // A copy: the action may register or replace actions while it runs.
    auto action = found->second;
    action();
    return true;
}

KSTableMethods::SwitchAction KSTableMethods::switchAction(const std::string& name) const {
    auto found = switchActions_.find(name);
    return found == switchActions_.end() ? SwitchAction() : found->second;
}

}  // namespace corvane
