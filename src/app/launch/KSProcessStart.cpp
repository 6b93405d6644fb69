#include "app/launch/KSProcessStart.h"

#include <iostream>

#include "app/KSCorvane.h"
#include "app/launch/KSDeviceRootCheck.h"
#include "app/launch/KSLogFile.h"
#include "app/tabs/KSMainStoryboard.h"
#include "foundation/DeviceRoot.h"
#include "uikit/ApplicationMain.h"

namespace corvane {

bool KSProcessStart::prepareDeviceRoot() {
    const auto root = foundation::DeviceRoot::path();
    auto prepared = KSDeviceRootCheck::prepare(root);
    if (prepared)
        prepared = KSLogFile::prepare();
    if (prepared)
        return true;
    std::cerr << KSDeviceRootCheck::refusal(root, prepared.error()) << "\n";
    return false;
}

int KSProcessStart::runApplication(int argc, char** argv) {
    return uikit::applicationMain(
        argc, argv, [] { return std::make_shared<KSCorvane>(); },
        [] { return KSMainStoryboard::instantiateInitialViewController(); });
}

}  // namespace corvane
