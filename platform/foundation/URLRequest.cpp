#include "foundation/URLRequest.h"

#include "foundation/ProcessValue.h"

namespace foundation {

namespace {

ProcessValue<URLRequest::Factory> installedFactory;

}  // namespace

URLRequest URLRequest::requestWithURL(const URL& url) {
    const Factory factory = installedFactory.get();
    return factory ? factory(url) : URLRequest(url);
}

void URLRequest::setFactory(Factory factory) {
    installedFactory.set(std::move(factory));
}

}  // namespace foundation
