#include "ui/core/KSApplicationServices.h"

#include "foundation/ProcessValue.h"

namespace corvane {

namespace {
foundation::ProcessValue<std::weak_ptr<KSApplicationServices>> registered;
}  // namespace

std::shared_ptr<KSApplicationServices> KSApplicationServices::shared() {
    return registered.get().lock();
}

void KSApplicationServices::registerServices(std::weak_ptr<KSApplicationServices> services) {
    registered.set(std::move(services));
}

}  // namespace corvane
