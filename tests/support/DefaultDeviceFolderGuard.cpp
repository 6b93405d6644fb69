#include "support/DefaultDeviceFolderGuard.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace testing_support {

DefaultDeviceFolderGuard::DefaultDeviceFolderGuard() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-home-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary home folder");
    home_ = pattern;
    defaultFolder_ = home_ + "/.local/share/corvane";
    setenv("HOME", home_.c_str(), 1);
    unsetenv("CORVANE_ROOT");
    unsetenv("CORVANE_DATA");
}

DefaultDeviceFolderGuard::~DefaultDeviceFolderGuard() {
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
}

namespace {

// What was left there, to tell which part of the program wrote it.
std::string contentsOf(const std::string& folder) {
    std::string found;
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator entry(folder, error), end;
         !error && entry != end; entry.increment(error))
        found += "\n  " + entry->path().string();
    return found;
}

}  // namespace

void DefaultDeviceFolderGuard::OnTestEnd(const ::testing::TestInfo&) {
    std::error_code error;
    if (!std::filesystem::exists(defaultFolder_, error))
        return;
    ADD_FAILURE() << "this test (or its suite's set-up) wrote the default device folder "
                  << defaultFolder_
                  << ", which stands for the user's own: give it a TempDeviceRoot. It holds:"
                  << contentsOf(defaultFolder_);
    std::filesystem::remove_all(defaultFolder_, error);
}

}  // namespace testing_support
