#include "support/TempDeviceRoot.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "foundation/DataFolder.h"
#include "foundation/DeviceRoot.h"
#include "foundation/ProcessState.h"

namespace testing_support {

namespace {

// The folders of roots whose tests are over. Work a test started may still be writing there:
// they go with the process reset, once that work has ended.
struct LeftFolders {
    std::mutex mutex;
    std::vector<std::string> folders;
};

LeftFolders& leftFolders() {
    static auto* shared = new LeftFolders();
    return *shared;
}

void removeLeftFolders() {
    std::vector<std::string> folders;
    {
        std::lock_guard lock(leftFolders().mutex);
        folders.swap(leftFolders().folders);
    }
    for (const auto& folder : folders) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
}

[[maybe_unused]] const bool removedByReset = foundation::ProcessState::registerReset(
    foundation::ProcessState::Phase::state, removeLeftFolders);

}  // namespace

TempDeviceRoot::TempDeviceRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-root-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary device root");
    folder_ = pattern;
    path_ = folder_ + "/device";
    std::filesystem::create_directory(path_);
    foundation::DeviceRoot::set(path_);
    foundation::DataFolder::set("");
    dataPath_ = foundation::DataFolder::path();
}

// The root stays chosen: the default the program would fall back to is the user's own device.
// The process reset chooses again once the test's work has ended.
TempDeviceRoot::~TempDeviceRoot() {
    std::lock_guard lock(leftFolders().mutex);
    leftFolders().folders.push_back(folder_);
}

std::string TempDeviceRoot::resolve(const std::string& devicePath) const {
    return foundation::DeviceRoot::resolve(devicePath);
}

}  // namespace testing_support
