#include "e2e/HostFolder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace corvane::testing {

HostFolder::HostFolder(const std::filesystem::path& parent) {
    std::string pattern = (parent / "corvane-host-XXXXXX").string();
    EXPECT_TRUE(mkdtemp(pattern.data()));
    path_ = pattern;
}

HostFolder::~HostFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace corvane::testing
