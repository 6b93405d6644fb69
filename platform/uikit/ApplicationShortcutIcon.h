#pragma once

#include <optional>
#include <string>

namespace uikit {

// The icon of a home-screen shortcut: a template image of the bundle, or one of the system's.
class ApplicationShortcutIcon {
  public:
    // The raw value is the system's number for the icon.
    enum class Type { add = 3 };

    static ApplicationShortcutIcon withTemplateImageName(std::string name) {
        ApplicationShortcutIcon icon;
        icon.templateImageName_ = std::move(name);
        return icon;
    }
    static ApplicationShortcutIcon withType(Type type) {
        ApplicationShortcutIcon icon;
        icon.type_ = type;
        return icon;
    }

    const std::optional<std::string>& templateImageName() const { return templateImageName_; }
    const std::optional<Type>& type() const { return type_; }

    bool operator==(const ApplicationShortcutIcon&) const = default;

  private:
    ApplicationShortcutIcon() = default;
    std::optional<std::string> templateImageName_;
    std::optional<Type> type_;
};

}  // namespace uikit
