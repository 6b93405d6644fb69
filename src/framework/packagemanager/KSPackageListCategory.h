#pragma once

#include <optional>
#include <string>
#include <variant>

namespace corvane {

// Which list of packages a list screen shows: one of the special lists, or the packages of a
// category that the repositories name. The two never mix: a repository category whose name
// reads like a special list's ("__SOURCE_PACKAGES__", "Search") stays a category.
class KSPackageListCategory {
  public:
    enum class Special {
        allPackages,
        installedPackages,
        updatedPackages,
        newPackages,
        sourcePackages,
        newPackagesVersions,
        search,
        sileoPackages,
        newPackagesFromFollowedDeveloper,
        newPackagesFromFollowedSource,
        downloadsHistory,
    };

    // No category at all.
    KSPackageListCategory() = default;
    KSPackageListCategory(Special special) : value_(special) {}
    // A repository category; an empty name is no category.
    static KSPackageListCategory named(std::string name);

    std::optional<Special> special() const;
    bool is(Special special) const { return this->special() == special; }
    // The repository category's name; nothing for a special list.
    std::optional<std::string> name() const;
    // The key of the special list's name in the string table ("__ALL_PACKAGES__",
    // "Updated Packages").
    static std::string textOf(Special special);

    bool operator==(const KSPackageListCategory&) const = default;

  private:
    std::variant<std::monostate, Special, std::string> value_;
};

inline constexpr auto kCategorySpecial_AllPackages = KSPackageListCategory::Special::allPackages;
inline constexpr auto kCategorySpecial_InstalledPackages =
    KSPackageListCategory::Special::installedPackages;
inline constexpr auto kCategorySpecial_UpdatedPackages =
    KSPackageListCategory::Special::updatedPackages;
inline constexpr auto kCategorySpecial_NewPackages = KSPackageListCategory::Special::newPackages;
inline constexpr auto kCategorySpecial_SourcePackages =
    KSPackageListCategory::Special::sourcePackages;
inline constexpr auto kCategorySpecial_NewPackagesVersions =
    KSPackageListCategory::Special::newPackagesVersions;
inline constexpr auto kCategorySpecial_Search = KSPackageListCategory::Special::search;
inline constexpr auto kCategorySpecial_SileoPackages =
    KSPackageListCategory::Special::sileoPackages;
inline constexpr auto kCategorySpecial_NewPackagesFromFollowedDeveloper =
    KSPackageListCategory::Special::newPackagesFromFollowedDeveloper;
inline constexpr auto kCategorySpecial_NewPackagesFromFollowedSource =
    KSPackageListCategory::Special::newPackagesFromFollowedSource;
inline constexpr auto kCategorySpecial_DownloadsHistory =
    KSPackageListCategory::Special::downloadsHistory;

}  // namespace corvane
