#include "app/KSProcessStart.h"

#include <iostream>

#include "app/KSCorvane.h"
#include "app/launch/KSDeviceRootCheck.h"
#include "app/launch/KSLogFile.h"
#include "app/tabs/KSMainStoryboard.h"
#include "foundation/DataFolder.h"
#include "foundation/DeviceRoot.h"
#include "uikit/ApplicationMain.h"

namespace corvane {

bool KSProcessStart::prepareFolders() {
    const auto root = foundation::DeviceRoot::path();
    const auto data = foundation::DataFolder::path();
    if (auto prepared = KSDeviceRootCheck::prepare(root); !prepared) {
        std::cerr << KSDeviceRootCheck::refusal("device root", root, prepared.error()) << "\n";
        return false;
    }
    auto prepared = KSDeviceRootCheck::prepare(data);
    if (prepared)
        prepared = KSDeviceRootCheck::checkApart(root, data);
    if (prepared)
        prepared = KSLogFile::prepare();
    if (prepared)
        return true;
    std::cerr << KSDeviceRootCheck::refusal("data folder", data, prepared.error()) << "\n";
    return false;
}

int KSProcessStart::runApplication(int argc, char** argv) {
    return uikit::applicationMain(
        argc, argv, [] { return std::make_shared<KSCorvane>(); },
        [] { return KSMainStoryboard::instantiateInitialViewController(); });
}

}  // namespace corvane
