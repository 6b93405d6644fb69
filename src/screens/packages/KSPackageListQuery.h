#pragma once

#include <optional>
#include <string>

#include "framework/storage/KSRPackage.h"
#include "screens/packages/KSPackageListInputs.h"
#include "store/Results.h"

namespace corvane {

// The store query behind each package list. Lists that take part in hiding packages marked not
// working (all, source, category and search) read the preference ShowIncompatiblePackages anew
// for each query.
class KSPackageListQuery {
  public:
    static constexpr const char* kAllPackagesSubcategory = "All Packages";

    // The packages in the queue, in the store's order.
    static store::Results<KSRPackage> queuedPackages();
    // The list's packages, ascending by the sort key; nothing for a list that runs no query of
    // its own (the new-package lists, a category without a subcategory, no category).
    static std::optional<store::Results<KSRPackage>> packagesForList(
        const KSPackageListInputs& inputs, const std::string& sortKey);

  private:
    static std::optional<store::Results<KSRPackage>> query(const KSPackageListInputs& inputs);
    static std::optional<store::Results<KSRPackage>> specialQuery(
        const KSPackageListInputs& inputs);
    static store::Results<KSRPackage> search(const std::string& text);
    // Hides the packages marked not working unless the preference shows them.
    static store::Results<KSRPackage> compatible(const store::Results<KSRPackage>& packages);
};

}  // namespace corvane
