#include "framework/storage/KSPackageEngineHooks.h"

#include <mutex>

namespace corvane {

namespace {

std::mutex hooksMutex;
std::shared_ptr<KSPackageEngine> registeredEngine;
std::vector<KSPackageEngineHooks::Request> waitingRequests;

void deliver(KSPackageEngine& engine, const KSPackageEngineHooks::Request& request) {
    if (request.kind == KSPackageEngineHooks::Request::Kind::refreshSources)
        engine.refreshSources(request.arguments);
    else
        engine.downloadPackage(request.arguments.front());
}

void submit(KSPackageEngineHooks::Request request) {
    std::shared_ptr<KSPackageEngine> engine;
    {
        std::lock_guard lock(hooksMutex);
        engine = registeredEngine;
        if (!engine) {
            waitingRequests.push_back(std::move(request));
            return;
        }
    }
    deliver(*engine, request);
}

}  // namespace

void KSPackageEngineHooks::registerEngine(std::shared_ptr<KSPackageEngine> engine) {
    std::vector<Request> handedOver;
    {
        std::lock_guard lock(hooksMutex);
        registeredEngine = engine;
        if (engine)
            handedOver.swap(waitingRequests);
    }
    for (const auto& request : handedOver)
        deliver(*engine, request);
}

void KSPackageEngineHooks::refreshSources(const std::vector<std::string>& locations) {
    if (!locations.empty())
        submit({Request::Kind::refreshSources, locations});
}

void KSPackageEngineHooks::downloadPackage(const std::string& identifier) {
    submit({Request::Kind::downloadPackage, {identifier}});
}

std::vector<KSPackageEngineHooks::Request> KSPackageEngineHooks::pendingRequests() {
    std::lock_guard lock(hooksMutex);
    return waitingRequests;
}

}  // namespace corvane
