#include "framework/apt/HostSecret.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace corvane::testing {

HostSecret::HostSecret() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-host-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary host folder");
    folder_ = pattern;
    std::ofstream(file()) << kText << "\n";
}

HostSecret::~HostSecret() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

}  // namespace corvane::testing
