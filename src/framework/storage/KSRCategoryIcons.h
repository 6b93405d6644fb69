#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "uikit/Image.h"

namespace corvane {

// The application's own images for package categories, shown while a package has no icon of
// its own.
class KSRCategoryIcons {
  public:
    static constexpr std::string_view kDefaultImageName = "category_default";

    // The image name for a category ("Tweaks", "themes"; case is ignored); the default name for
    // an unknown or missing one.
    static std::string imageNameForCategory(const std::optional<std::string>& category);
    // The category's image, else the default image; null only when the resources hold neither.
    static std::shared_ptr<uikit::Image> imageForCategory(
        const std::optional<std::string>& category);
};

}  // namespace corvane
