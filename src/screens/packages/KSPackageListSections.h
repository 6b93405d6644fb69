#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Value.h"
#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRPackages.h"
#include "store/Results.h"

namespace corvane {

// The titled sections of a package list: the titles in display order, each title's package
// identifiers in row order, and, grouped by name only, the index beside the table. Rows are
// identifiers: a list looks each package up when it draws it.
class KSPackageListSections {
  public:
    using SectionsDictionary = std::map<std::string, std::vector<std::string>>;

    // No sections at all.
    KSPackageListSections() = default;

    // Groups the packages by the criterion ("name", "category", "installDate", "maintainer",
    // "sourceLocation", "initialDate"; any other groups nothing). The packages must be sorted
    // ascending by the criterion, as a list sorts by its sort key: the sections then come in
    // the order of the criterion (dates newest first, the rows of one date oldest first) from
    // one walk over two columns, whatever the number of packages. A package without a value of
    // the criterion has no row.
    static KSPackageListSections sectionsForSortCriteria(const store::Results<KSRPackage>& packages,
                                                         const std::string& criterion);
    // The sections of a list of new packages: one date string each, as the collection made them.
    static KSPackageListSections byDate(KSRPackages::NewPackagesByDate newPackages);

    const std::vector<std::string>& sections() const { return sections_; }
    const SectionsDictionary& sectionsDictionary() const { return sectionsDictionary_; }
    // Set only when grouped by name.
    const std::optional<std::vector<std::string>>& indexTitles() const { return indexTitles_; }
    std::size_t numberOfSections() const { return sections_.size(); }
    // A section past the last one reads the last one; nothing when there is no section.
    std::optional<std::string> titleForSection(std::size_t section) const;
    // Empty when there is no section.
    const std::vector<std::string>& rowsInSection(std::size_t section) const;
    std::optional<std::string> identifierAt(std::size_t section, std::size_t row) const;

    // The section title of a name: its first character, whole, capitalised.
    static std::optional<std::string> nameKey(const foundation::Value& name);

  private:
    class Builder;

    std::vector<std::string> sections_;
    SectionsDictionary sectionsDictionary_;
    std::optional<std::vector<std::string>> indexTitles_;
};

}  // namespace corvane
