#include "foundation/FileHandle.h"

#include <gtest/gtest.h>

#include <thread>

#include "foundation/FileManager.h"
#include "support/TempDeviceRoot.h"

using namespace foundation;
using testing_support::TempDeviceRoot;

namespace {

std::string text(const Bytes& data) {
    return std::string(data.begin(), data.end());
}

// A file that grows on one thread is read back at offsets on another, as an index is stored
// while the rest of it is still being decompressed.
TEST(FileHandle, WritesInOrderAndReadsAtAnyOffsetMeanwhile) {
    TempDeviceRoot folder;
    const std::string path = folder.path() + "/index";
    ASSERT_TRUE(FileManager::writeAtomically(path, "old content that must go"));
    auto writer = FileHandle::forWritingAtPath(path);
    ASSERT_TRUE(writer);
    EXPECT_EQ(FileHandle::forReadingAtPath(path)->readDataUpToLength(10)->size(), 0u) << "emptied";

    const std::string piece(4096, 'p');
    std::thread reader([&] {
        for (int i = 0; i < 200; ++i) {
            auto read = writer->readText(std::uint64_t(i) * piece.size(), piece.size());
            ASSERT_TRUE(read);
            EXPECT_TRUE(read->empty() || piece.starts_with(*read));
        }
    });
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(writer->writeData(piece));
    reader.join();
    ASSERT_TRUE(writer->writeData("end"));
    ASSERT_TRUE(writer->synchronizeFile());
    EXPECT_EQ(writer->readText(200 * piece.size(), 100).valueOr("?"), "end");
    EXPECT_EQ(writer->readText(200 * piece.size() + 10, 100).valueOr("?"), "");

    auto reading = FileHandle::forReadingAtPath(path);
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->readDataUpToLength(4096)->size(), 4096u);
    std::size_t rest = 0;
    for (auto data = reading->readDataUpToLength(100000); data && !data->empty();
         data = reading->readDataUpToLength(100000))
        rest += data->size();
    EXPECT_EQ(rest, 199 * piece.size() + 3);
    // The handle keeps reading the file it opened when another takes its name.
    const std::string replacement = folder.path() + "/replacement";
    ASSERT_TRUE(FileManager::writeAtomically(replacement, "new"));
    ASSERT_TRUE(FileManager::replaceItem(path, replacement));
    EXPECT_EQ(writer->readText(200 * piece.size(), 3).valueOr("?"), "end");
    EXPECT_EQ(text(FileManager::readFile(path).valueOr({})), "new");
    EXPECT_FALSE(FileManager::fileExists(replacement));
}

TEST(FileHandle, FailuresNameThePath) {
    TempDeviceRoot folder;
    const auto missing = FileHandle::forReadingAtPath(folder.path() + "/missing");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().domain, FileManager::kErrorDomain);
    EXPECT_EQ(missing.error().code, FileManager::kReadNoSuchFile);
    EXPECT_EQ(missing.error().userInfo[FileManager::kFilePathKey].stringValue(),
              folder.path() + "/missing");
    const auto nowhere = FileHandle::forWritingAtPath(folder.path() + "/no/folder");
    ASSERT_FALSE(nowhere);
    EXPECT_EQ(nowhere.error().code, FileManager::kNoSuchFile);
    const auto replaced = FileManager::replaceItem(folder.path() + "/target", folder.path() + "/x");
    ASSERT_FALSE(replaced);
    EXPECT_EQ(replaced.error().userInfo[FileManager::kFilePathKey].stringValue(),
              folder.path() + "/target");
}

}  // namespace
