#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/presentations/KSPresentations.h"
#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRSource.h"
#include "uikit/View.h"

namespace corvane {

// Every Get, Install and Update action ends here: the package goes into the queue at once when
// it is removed, free or bought elsewhere; a paid package of a repository with a payment
// endpoint is bought there first (after signing in when needed); a paid package of any other
// repository is refused with an alert. Each time a package is marked queued its queue-state
// notification is posted on a later turn of the main loop. Callers call on the main thread.
class KSPackageQueuer : public std::enable_shared_from_this<KSPackageQueuer> {
  public:
    explicit KSPackageQueuer(std::shared_ptr<KSPresentations> presentations);

    // versionToQueue is nil for the candidate version. The sender is carried unchanged into
    // every repeated pass and plays no other part. An identifier that is not stored is refused
    // (logged).
    void queuePackageWithIdentifier(const std::string& identifier,
                                    const std::optional<std::string>& versionToQueue,
                                    const std::shared_ptr<uikit::View>& sender);

  private:
    // A paid package of a stored source that has not been bought elsewhere.
    void queuePaidPackage(const KSRPackage& package, const KSRSource& source,
                          const std::optional<std::string>& versionToQueue,
                          const std::shared_ptr<uikit::View>& sender);
    void signIn(const std::string& location, const std::string& identifier,
                const std::optional<std::string>& versionToQueue,
                const std::shared_ptr<uikit::View>& sender);
    // The whole decision again, then the notification once more.
    void queueAgain(const std::string& identifier, const std::optional<std::string>& versionToQueue,
                    const std::shared_ptr<uikit::View>& sender);

    std::shared_ptr<KSPresentations> presentations_;
};

}  // namespace corvane
