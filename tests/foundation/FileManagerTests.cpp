#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "foundation/FileManager.h"
#include "support/TempDeviceRoot.h"

using namespace foundation;
using testing_support::TempDeviceRoot;

namespace {

std::string contentOf(const std::string& path) {
    return FileManager::readText(path).valueOr("?");
}

}  // namespace

TEST(FileManager, WriteThatFailsHalfwayLeavesTheOldFileWholeAndNoTemporaryFile) {
    TempDeviceRoot folder;
    std::string target = folder.path() + "/state.plist";
    ASSERT_TRUE(FileManager::writeAtomically(target, "old content"));

    // A file-size limit makes the write run out of room part way, which no permission check
    // stops for root.
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit previous;
    getrlimit(RLIMIT_FSIZE, &previous);
    struct rlimit small = previous;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const std::string first(3000, 'f'), second(100000, 's');
    auto status = FileManager::writeAtomically(target, {first, second});
    setrlimit(RLIMIT_FSIZE, &previous);

    ASSERT_FALSE(status);
    EXPECT_EQ(status.error().domain, "NSCocoaErrorDomain");
    EXPECT_EQ(status.error().code, FileManager::kWriteOutOfSpace);
    EXPECT_NE(status.error().localizedDescription().find(target), std::string::npos);
    EXPECT_EQ(contentOf(target), "old content");
    EXPECT_EQ(FileManager::contentsOfDirectory(folder.path()).value(),
              std::vector<std::string>{"state.plist"});

    ASSERT_TRUE(FileManager::writeAtomically(target, {first, "", second}));
    EXPECT_EQ(contentOf(target), first + second);
}

TEST(FileManager, WriteThatCannotRenameOrCreateReportsThePathAndLeavesNothingBehind) {
    TempDeviceRoot folder;
    std::string busy = folder.path() + "/busy";
    ASSERT_TRUE(FileManager::createDirectory(busy + "/inside"));
    auto overFolder = FileManager::writeAtomically(busy, "x");
    ASSERT_FALSE(overFolder);
    EXPECT_TRUE(FileManager::isDirectory(busy + "/inside"));
    EXPECT_EQ(FileManager::contentsOfDirectory(folder.path()).value(),
              std::vector<std::string>{"busy"});

    std::string file = folder.path() + "/plain";
    ASSERT_TRUE(FileManager::writeAtomically(file, "x"));
    auto belowFile = FileManager::writeAtomically(file + "/child", "y");
    ASSERT_FALSE(belowFile);
    EXPECT_EQ(belowFile.error().code, FileManager::kNoSuchFile);
    EXPECT_EQ(belowFile.error().userInfo[FileManager::kFilePathKey].stringValue(), file + "/child");
    EXPECT_EQ(contentOf(file), "x");
}

TEST(FileManager, AtomicWriteReplacesContentAndKeepsTheFileMode) {
    TempDeviceRoot folder;
    std::string target = folder.path() + "/secret";
    ASSERT_TRUE(FileManager::writeAtomically(target, Bytes{1, 2, 3}));
    struct stat info;
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    chmod(target.c_str(), 0600);
    ASSERT_TRUE(FileManager::writeAtomically(target, "new"));
    EXPECT_EQ(contentOf(target), "new");
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(FileManager::fileSize(target), 3u);
}

TEST(FileManager, FolderOperationsWorkRecursivelyAndRefuseToOverwrite) {
    TempDeviceRoot folder;
    std::string base = folder.path() + "/a";
    ASSERT_TRUE(FileManager::createDirectory(base + "/b/c"));
    ASSERT_TRUE(FileManager::createDirectory(base + "/b/c")) << "an existing folder is fine";
    ASSERT_TRUE(FileManager::writeAtomically(base + "/b/c/f.txt", "f"));
    ASSERT_TRUE(FileManager::writeAtomically(base + "/z.txt", "z"));
    EXPECT_FALSE(FileManager::createDirectory(base + "/z.txt"));
    EXPECT_EQ(FileManager::enumerate(base).value(),
              (std::vector<std::string>{"b", "b/c", "b/c/f.txt", "z.txt"}));
    EXPECT_EQ(FileManager::contentsOfDirectory(base).value(),
              (std::vector<std::string>{"b", "z.txt"}));
    EXPECT_FALSE(FileManager::enumerate(base + "/missing"));

    ASSERT_TRUE(FileManager::copyItem(base, folder.path() + "/copy"));
    EXPECT_EQ(contentOf(folder.path() + "/copy/b/c/f.txt"), "f");
    auto moveOnto = FileManager::moveItem(base + "/z.txt", base + "/b/c/f.txt");
    ASSERT_FALSE(moveOnto);
    EXPECT_EQ(moveOnto.error().code, FileManager::kWriteFileExists);
    EXPECT_EQ(contentOf(base + "/b/c/f.txt"), "f");
    EXPECT_EQ(contentOf(base + "/z.txt"), "z");
    ASSERT_TRUE(FileManager::moveItem(base + "/z.txt", base + "/y.txt"));
    EXPECT_FALSE(FileManager::fileExists(base + "/z.txt"));
    EXPECT_FALSE(FileManager::copyItem(base + "/y.txt", folder.path() + "/copy"));

    // A link is the same file under a second name, and outlives the first.
    ASSERT_TRUE(FileManager::linkItem(base + "/y.txt", folder.path() + "/linked.txt"));
    auto linkOnto = FileManager::linkItem(base + "/y.txt", base + "/b/c/f.txt");
    ASSERT_FALSE(linkOnto);
    EXPECT_EQ(linkOnto.error().code, FileManager::kWriteFileExists);
    EXPECT_EQ(contentOf(base + "/b/c/f.txt"), "f");
    EXPECT_FALSE(FileManager::linkItem(base + "/missing", folder.path() + "/nothing"));

    ASSERT_TRUE(FileManager::removeItem(base));
    EXPECT_FALSE(FileManager::fileExists(base));
    EXPECT_EQ(contentOf(folder.path() + "/linked.txt"), "z");
    auto again = FileManager::removeItem(base);
    ASSERT_FALSE(again);
    EXPECT_EQ(again.error().code, FileManager::kNoSuchFile);
}

TEST(FileManager, ReadingReportsMissingFilesAndFoldersAndDatesRoundTrip) {
    TempDeviceRoot folder;
    auto missing = FileManager::readFile(folder.path() + "/none");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, FileManager::kReadNoSuchFile);
    EXPECT_FALSE(FileManager::readFile(folder.path()));

    std::string file = folder.path() + "/f";
    std::string binary("a\0b", 3);
    ASSERT_TRUE(FileManager::writeAtomically(file, binary));
    EXPECT_EQ(FileManager::readText(file).value(), binary);
    ASSERT_TRUE(FileManager::setModificationDate(file, 1500000000.5));
    EXPECT_DOUBLE_EQ(FileManager::modificationDate(file).value(), 1500000000.5);
    EXPECT_EQ(FileManager::modificationDate(folder.path() + "/none"), std::nullopt);
    EXPECT_FALSE(FileManager::setModificationDate(folder.path() + "/none", 1));
}
