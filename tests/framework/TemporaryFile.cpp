#include "framework/TemporaryFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "foundation/FileManager.h"

namespace corvane::testing {

TemporaryFile::TemporaryFile(std::string_view contents)
    : path_((std::filesystem::temp_directory_path() / "corvane-file-XXXXXX").string()) {
    const int file = mkstemp(path_.data());
    EXPECT_GE(file, 0) << "cannot make a temporary file";
    close(file);
    EXPECT_TRUE(foundation::FileManager::writeAtomically(path_, contents));
}

TemporaryFile::~TemporaryFile() {
    (void)foundation::FileManager::removeItem(path_);
}

}  // namespace corvane::testing
