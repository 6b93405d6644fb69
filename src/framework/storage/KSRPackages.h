#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRPackageIconFetcher.h"
#include "store/Results.h"
#include "uikit/Image.h"

namespace corvane {

// The stored packages: the queue marks, the Get-button title, icons, and the lists of new and
// updated packages by date.
class KSRPackages {
  public:
    using PackagesByDate = std::map<std::string, std::vector<std::string>>;

    // An operation other than KSRQueueOperationNone is kept. With none: an installed package with a
    // version to queue gives upgrade when that version is greater than the installed one, else
    // downgrade; an installed package without one gives upgrade when an update is available and it
    // is not held, else remove; a package that is not installed gives install.
    static unsigned queueOperationForPackage(const KSRPackage& package,
                                             const std::optional<std::string>& versionToQueue,
                                             unsigned operation);

    // Marks the package queued (with the version and the operation, KSRQueueOperationNone
    // meaning derive it by the rule above, KSRQueueOperationReinstall a reinstall of the given or
    // else the installed version) or takes it out of the queue, in one write transaction.
    // Nothing for an unknown identifier. Posts nothing.
    void setPackage(const std::string& identifier, bool inTheQueue,
                    const std::optional<std::string>& versionToQueue, unsigned operation);
    // The same for a record read earlier: the stored record is re-read inside the transaction,
    // so that changes made since are not overwritten by the older copy.
    void setPackageObject(const KSRPackage& package, bool inTheQueue,
                          const std::optional<std::string>& versionToQueue, unsigned operation);
    // Clears isInTheQueue, queueOperation and queuedVersion of every queued package.
    void resetPackagesQueue();

    // First match wins: "QUEUED" when queued; "UPDATE" when an update is available and the
    // package is not held; "UNINSTALL" when installed; "UNAVAILABLE" when not available;
    // "OWNED" when owned; with showsPrice and a package that is not free, price when present,
    // else the stored price; "GET". The words are localised.
    std::string getButtonTitleForPackageIdentifier(const std::string& identifier, bool showsPrice,
                                                   bool available, bool owned,
                                                   const std::optional<std::string>& price) const;

    // The cached icon when its file is there, else the category image while the registered
    // fetcher (if any) gets the real icon.
    std::shared_ptr<uikit::Image> iconForIdentifier(const std::string& identifier) const;
    // The application's image for the package's category; starts no download.
    std::shared_ptr<uikit::Image> getCategoryIconForIdentifier(const std::string& identifier) const;
    void setIconFetcher(std::shared_ptr<KSRPackageIconFetcher> fetcher);

    // Dates with the identifiers of each, as one rebuild made them.
    struct NewPackagesByDate {
        std::vector<std::string> dates;
        PackagesByDate packages;
    };

    // Synchronously rebuilds arrayOfInitialDateStr (the distinct non-empty updatedDateStr
    // values, newest first) and dictionaryOfNewPackagesByDateStr (each of them to the
    // identifiers of its packages). Packages marked not working are left out unless the
    // preference ShowIncompatiblePackages is on. Returns both together: the next rebuild of the
    // other kind replaces arrayOfInitialDateStr, so a list keeps what it was given.
    NewPackagesByDate rebuildDictOfNewPackages();
    // The same for packages with a new version, into dictionaryOfNewPackagesVersionsByDateStr.
    NewPackagesByDate rebuildDictOfNewPackagesVersions();
    std::vector<std::string> arrayOfInitialDateStr() const;
    PackagesByDate dictionaryOfNewPackagesByDateStr() const;
    PackagesByDate dictionaryOfNewPackagesVersionsByDateStr() const;

    // Asks the package engine to download the package and then run the queue.
    void downloadPackageWithIdentifier(const std::string& identifier);
    // The same for a batch: the queue runs once every one of them is downloaded.
    void downloadPackagesWithIdentifiers(const std::vector<std::string>& identifiers);

    // The packages whose identifiers are listed, ignoring case; the list is a bound argument.
    store::Results<KSRPackage> packagesWithIdentifiers(
        const std::vector<std::string>& identifiers) const;
    // The packages of a maintainer; an empty set when the maintainer is not present text, rather
    // than every package that has no maintainer.
    store::Results<KSRPackage> packagesOfMaintainer(
        const std::optional<std::string>& maintainer) const;

  private:
    std::optional<KSRPackage> package(const std::string& identifier) const;
    static void applyQueueMark(KSRPackage& package, bool inTheQueue,
                               const std::optional<std::string>& versionToQueue,
                               unsigned operation);
    NewPackagesByDate packagesByDate(const store::Results<KSRPackage>& candidates) const;

    mutable std::mutex mutex_;
    std::vector<std::string> arrayOfInitialDateStr_;
    PackagesByDate dictionaryOfNewPackagesByDateStr_;
    PackagesByDate dictionaryOfNewPackagesVersionsByDateStr_;
    std::shared_ptr<KSRPackageIconFetcher> iconFetcher_;
};

}  // namespace corvane
