#include "ui/core/KSApplicationServices.h"

#include <mutex>

namespace corvane {

namespace {
std::mutex servicesMutex;
std::weak_ptr<KSApplicationServices> registered;
}  // namespace

std::shared_ptr<KSApplicationServices> KSApplicationServices::shared() {
    std::lock_guard lock(servicesMutex);
    return registered.lock();
}

void KSApplicationServices::registerServices(std::weak_ptr<KSApplicationServices> services) {
    std::lock_guard lock(servicesMutex);
    registered = std::move(services);
}

}  // namespace corvane
