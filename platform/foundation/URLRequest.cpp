#include "foundation/URLRequest.h"

#include <mutex>

namespace foundation {

namespace {

std::mutex factoryMutex;
URLRequest::Factory& installedFactory() {
    static URLRequest::Factory factory;
    return factory;
}

}  // namespace

URLRequest URLRequest::requestWithURL(const URL& url) {
    Factory factory;
    {
        std::lock_guard lock(factoryMutex);
        factory = installedFactory();
    }
    return factory ? factory(url) : URLRequest(url);
}

void URLRequest::setFactory(Factory factory) {
    std::lock_guard lock(factoryMutex);
    installedFactory() = std::move(factory);
}

}  // namespace foundation
