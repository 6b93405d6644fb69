#include "framework/storage/KSRCategoryIcons.h"

#include <map>

#include "foundation/Strings.h"

namespace corvane {

namespace {

// Sections that repositories of this field publish, in lower case, with the image of each.
const std::map<std::string, std::string, std::less<>>& imageNames() {
    static const std::map<std::string, std::string, std::less<>> names = {
        {"addons", "category_addons"},
        {"administration", "category_administration"},
        {"applications", "category_applications"},
        {"archiving", "category_archiving"},
        {"data storage", "category_datastorage"},
        {"development", "category_development"},
        {"dictionaries", "category_dictionaries"},
        {"ebooks", "category_ebooks"},
        {"entertainment", "category_entertainment"},
        {"fonts", "category_fonts"},
        {"games", "category_games"},
        {"keyboards", "category_keyboards"},
        {"localization", "category_localization"},
        {"messaging", "category_messaging"},
        {"multimedia", "category_multimedia"},
        {"navigation", "category_navigation"},
        {"networking", "category_networking"},
        {"packaging", "category_packaging"},
        {"repositories", "category_repositories"},
        {"ringtones", "category_ringtones"},
        {"scripting", "category_scripting"},
        {"security", "category_security"},
        {"social", "category_social"},
        {"system", "category_system"},
        {"terminal support", "category_terminalsupport"},
        {"text editors", "category_texteditors"},
        {"themes", "category_themes"},
        {"toys", "category_toys"},
        {"tweaks", "category_tweaks"},
        {"utilities", "category_utilities"},
        {"wallpaper", "category_wallpaper"},
        {"widgets", "category_widgets"},
    };
    return names;
}

}  // namespace

std::string KSRCategoryIcons::imageNameForCategory(const std::optional<std::string>& category) {
    if (!category)
        return std::string(kDefaultImageName);
    auto found = imageNames().find(foundation::lowercase(foundation::trimmed(*category)));
    return found == imageNames().end() ? std::string(kDefaultImageName) : found->second;
}

std::shared_ptr<uikit::Image> KSRCategoryIcons::imageForCategory(
    const std::optional<std::string>& category) {
    if (auto image = uikit::Image::named(imageNameForCategory(category)))
        return image;
    return uikit::Image::named(std::string(kDefaultImageName));
}

}  // namespace corvane
