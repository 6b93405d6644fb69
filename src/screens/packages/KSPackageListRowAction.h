#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/storage/KSRPackage.h"
#include "uikit/Color.h"
#include "uikit/ContextualAction.h"

namespace corvane {

// The one action a swipe reveals on a package row: "Remove" takes a queued package out of the
// queue, "Queue" asks the application to queue any other (its rules decide what that means for
// an installed or a paid package). Neither moves the row.
class KSPackageListRowAction {
  public:
    using QueueStateChanged = std::function<void(const std::string& identifier)>;

    static uikit::Color queueColor() { return {0.0, 0.67, 0.88, 1.0}; }

    // didChange runs once the queue state was changed or asked for, with the package's
    // identifier, so that the list redraws the row that shows the package by then.
    static std::shared_ptr<uikit::ContextualAction> actionForPackage(const KSRPackage& package,
                                                                     QueueStateChanged didChange);

  private:
    static void remove(const KSRPackage& package);
    static void queue(const KSRPackage& package);
};

}  // namespace corvane
