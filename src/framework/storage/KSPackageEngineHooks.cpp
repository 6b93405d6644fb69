#include "framework/storage/KSPackageEngineHooks.h"

#include <utility>

#include "foundation/ProcessValue.h"

namespace corvane {

namespace {

struct Hooks {
    std::shared_ptr<KSPackageEngine> engine;
    std::vector<KSPackageEngineHooks::Request> waiting;
};
foundation::ProcessValue<Hooks> hooks;

void deliver(KSPackageEngine& engine, const KSPackageEngineHooks::Request& request) {
    if (request.kind == KSPackageEngineHooks::Request::Kind::refreshSources)
        engine.refreshSources(request.arguments);
    else
        engine.downloadPackages(request.arguments);
}

void submit(KSPackageEngineHooks::Request request) {
    auto engine = hooks.update([&request](Hooks& current) {
        if (!current.engine)
            current.waiting.push_back(request);
        return current.engine;
    });
    if (engine)
        deliver(*engine, request);
}

}  // namespace

void KSPackageEngineHooks::registerEngine(std::shared_ptr<KSPackageEngine> engine) {
    auto handedOver = hooks.update([&engine](Hooks& current) {
        current.engine = engine;
        return engine ? std::exchange(current.waiting, {}) : std::vector<Request>{};
    });
    for (const auto& request : handedOver)
        deliver(*engine, request);
}

void KSPackageEngineHooks::refreshSources(const std::vector<std::string>& locations) {
    if (!locations.empty())
        submit({Request::Kind::refreshSources, locations});
}

void KSPackageEngineHooks::downloadPackages(const std::vector<std::string>& identifiers) {
    submit({Request::Kind::downloadPackages, identifiers});
}

std::vector<KSPackageEngineHooks::Request> KSPackageEngineHooks::pendingRequests() {
    return hooks.get().waiting;
}

}  // namespace corvane
