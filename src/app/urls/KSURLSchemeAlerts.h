#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "uikit/AlertController.h"

namespace corvane {

// The questions and answers of the URL-scheme task. Text that came with a URL (an address, a
// package name) is only ever an argument of a localised format, never the format itself.
class KSURLSchemeAlerts {
  public:
    using Action = std::function<void()>;

    // "Add repository": Yes runs onYes; No, thanks does nothing.
    static std::shared_ptr<uikit::AlertController> addRepository(const std::string& address,
                                                                 Action onYes);
    // "Show package" asking to add the package's repository first; the name may be unknown.
    static std::shared_ptr<uikit::AlertController> addRepositoryToShowPackage(
        const std::string& address, const std::optional<std::string>& name, Action onYes);
    static std::shared_ptr<uikit::AlertController> packageDoesNotExist();
    // What the sources collection said when it refused a repository, with one Close button.
    static std::shared_ptr<uikit::AlertController> refusal(const std::string& title,
                                                           const std::string& message);
};

}  // namespace corvane
