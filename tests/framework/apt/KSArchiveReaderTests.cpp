// Archives handed over by other applications: copied into the inbox, then read with dpkg-deb
// through the root command runner, as the imported-archive screen does.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "foundation/FileManager.h"
#include "framework/RunCommand.h"
#include "framework/StorageFixture.h"
#include "framework/apt/KSAPTSandbox.h"
#include "framework/apt/KSArchiveReader.h"
#include "framework/apt/KSInboxArchive.h"
#include "support/CommandMarker.h"
#include "support/SampleRepository.h"

namespace corvane::testing {
namespace {

using foundation::FileManager;
using testing_support::CommandMarker;
namespace fs = std::filesystem;

const std::string kHostileName = CommandMarker::hostileName("it's a b.deb");

class KSArchiveReaderTests : public StorageFixture {
  protected:
    static void SetUpTestSuite() { sample_ = new testing_support::SampleRepository(); }
    static void TearDownTestSuite() {
        delete sample_;
        sample_ = nullptr;
    }

    void SetUp() override {
        StorageFixture::SetUp();
        ASSERT_TRUE(KSAPTSandbox::create());
    }
    void TearDown() override {
        EXPECT_TRUE(CommandMarker::noCommandRan()) << "a file name ran a command";
        StorageFixture::TearDown();
    }

    static std::string sampleArchive(const std::string& name) {
        return (sample_->folder() / "debs" / (name + ".deb")).string();
    }
    // The file at the device path, as another application leaves it there.
    std::string handOver(const std::string& from, const std::string& devicePath) const {
        const auto path = root_.resolve(devicePath);
        EXPECT_TRUE(FileManager::createDirectory(fs::path(path).parent_path().string()));
        EXPECT_TRUE(FileManager::copyItem(from, path));
        return path;
    }
    // An archive built from control text, as a careless packager builds one.
    std::string build(const std::string& control) const {
        const auto folder = root_.path() + "/build";
        EXPECT_TRUE(FileManager::createDirectory(folder + "/DEBIAN"));
        EXPECT_TRUE(FileManager::writeAtomically(folder + "/DEBIAN/control", control));
        const auto archive = root_.path() + "/built.deb";
        const auto built =
            runCommand({"dpkg-deb", "--root-owner-group", "--build", folder, archive});
        EXPECT_EQ(built.exitStatus, 0) << built.errors;
        return archive;
    }

    static inline testing_support::SampleRepository* sample_ = nullptr;
};

TEST_F(KSArchiveReaderTests, AnArchiveIsReadFromItsInboxCopyFieldByFieldInTheOrderWritten) {
    const auto original =
        handOver(sampleArchive("core-lib"), "/var/mobile/Documents/" + kHostileName);
    auto copy = KSInboxArchive::copyOf(original);
    ASSERT_TRUE(copy) << copy.error().localizedDescription();
    const std::string path = (*copy)->path();
    EXPECT_EQ(fs::path(path).parent_path(), fs::path(KSInboxArchive::inboxDirectory()));
    EXPECT_EQ(fs::path(path).extension(), ".deb");
    EXPECT_EQ(path.find("touch"), std::string::npos) << "the copy has a name of its own";

    auto control = KSArchiveReader::readControl(path);
    ASSERT_TRUE(control) << control.error().localizedDescription();
    std::vector<std::string> names;
    for (const auto& field : control->fields)
        names.push_back(field.first);
    EXPECT_EQ(names, (std::vector<std::string>{"Package", "Name", "Version", "Architecture",
                                               "Maintainer", "Author", "Section", "Description"}));
    EXPECT_EQ(control->value("Maintainer"), "Ada Sample <ada@sample.test>");
    EXPECT_EQ(control->value("Description"),
              "Shared code that the sample tweaks load\n"
              "A small library package that other packages depend on.");
    EXPECT_EQ(control->value("Depends"), std::nullopt);
    EXPECT_EQ(control->text.substr(0, 28), "Package: com.sample.corelib\n");
    EXPECT_NE(control->text.find("\n A small library package"), std::string::npos)
        << "the raw text is as dpkg-deb printed it";

    // Read directly, the hostile name is one quoted argument too.
    EXPECT_TRUE(KSArchiveReader::readControl(original));

    copy->reset();
    EXPECT_FALSE(FileManager::fileExists(path)) << "the copy goes with its last holder";
    EXPECT_TRUE(FileManager::fileExists(original)) << "the handed-over file stays";
}

TEST_F(KSArchiveReaderTests, WhatDpkgPrintsIsDecodedWholeAndAnArchiveWithoutControlIsAnError) {
    auto bytes = KSArchiveReader::readControl(
        build("Package: com.example.bytes\nVersion: 1.0\nArchitecture: all\n"
              "Maintainer: A <a@b.c>\nDescription: caf\xe9 \xff\xfe end\n"));
    ASSERT_TRUE(bytes) << bytes.error().localizedDescription();
    EXPECT_EQ(bytes->value("Description"), "caf\uFFFD \uFFFD\uFFFD end");
    EXPECT_NE(bytes->text.find("caf\uFFFD"), std::string::npos);

    auto damaged = FileManager::readFile(sampleArchive("theme")).valueOr({});
    damaged.resize(damaged.size() / 2);
    const auto cut = root_.path() + "/cut.deb";
    ASSERT_TRUE(FileManager::writeAtomically(cut, damaged));
    auto unreadable = KSArchiveReader::readControl(cut);
    ASSERT_FALSE(unreadable);
    EXPECT_EQ(unreadable.error().code, KSArchiveReader::kUnreadableArchive);
    EXPECT_NE(unreadable.error().localizedDescription().find("dpkg-deb"), std::string::npos)
        << unreadable.error().localizedDescription();

    // An archive whose control file is empty: dpkg-deb prints nothing and succeeds.
    const auto parts = root_.path() + "/parts";
    ASSERT_TRUE(FileManager::createDirectory(parts + "/data"));
    ASSERT_TRUE(FileManager::writeAtomically(parts + "/debian-binary", "2.0\n"));
    ASSERT_TRUE(FileManager::writeAtomically(parts + "/control", ""));
    const auto empty = root_.path() + "/empty.deb";
    for (const auto& step : std::vector<std::vector<std::string>>{
             {"tar", "-czf", parts + "/control.tar.gz", "-C", parts, "./control"},
             {"tar", "-czf", parts + "/data.tar.gz", "-C", parts + "/data", "."},
             {"ar", "rc", empty, parts + "/debian-binary", parts + "/control.tar.gz",
              parts + "/data.tar.gz"}})
        ASSERT_EQ(runCommand(step).exitStatus, 0) << step[0];
    auto nothing = KSArchiveReader::readControl(empty);
    ASSERT_FALSE(nothing);
    EXPECT_EQ(nothing.error().code, KSArchiveReader::kNoControlData);
}

// The system hands over a file of this machine: it is copied by its content, and a file that is
// missing or cannot be read says so, in words apart from those of a file that is no archive.
TEST_F(KSArchiveReaderTests, AHandedOverFileIsCopiedByContentOrNamedWithWhyItCannotBe) {
    const auto documents = root_.scratchPath("Documents");
    ASSERT_TRUE(FileManager::createDirectory(documents + "/Folder.deb"));
    ASSERT_TRUE(FileManager::copyItem(sampleArchive("theme"), documents + "/theme.deb"));
    fs::create_symlink(documents + "/theme.deb", documents + "/link.deb");
    ASSERT_EQ(mkfifo((documents + "/fifo.deb").c_str(), 0600), 0);
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"relative/theme.deb", "\"relative/theme.deb\" is not a package archive."},
        {documents + "/theme\n.deb", "\"" + documents + "/theme\n.deb\" is not a package archive."},
        {documents + "/missing.deb", "\u201C" + documents + "/missing.deb\u201D: no such file."},
        {documents + "/Folder.deb",
         "\u201C" + documents + "/Folder.deb\u201D cannot be read: it is not a regular file."},
        {documents + "/fifo.deb",
         "\u201C" + documents + "/fifo.deb\u201D cannot be read: it is not a regular file."}};
    for (const auto& [path, description] : refused) {
        auto copy = KSInboxArchive::copyOf(path);
        ASSERT_FALSE(copy) << path;
        EXPECT_EQ(copy.error().localizedDescription(), description);
        EXPECT_EQ(copy.error().userInfo["path"].optionalString(), path);
    }
    EXPECT_TRUE(FileManager::contentsOfDirectory(KSInboxArchive::inboxDirectory())
                    .valueOr({"<unreadable>"})
                    .empty())
        << "a refused copy leaves nothing in the inbox";

    auto first = KSInboxArchive::copyOf(documents + "/link.deb");
    auto second = KSInboxArchive::copyOf(documents + "/theme.deb");
    ASSERT_TRUE(first && second);
    EXPECT_FALSE(fs::is_symlink((*first)->path()));
    EXPECT_NE((*first)->path(), (*second)->path()) << "every copy has a name of its own";
    fs::remove(documents + "/theme.deb");
    auto control = KSArchiveReader::readControl((*first)->path());
    ASSERT_TRUE(control) << control.error().localizedDescription();
    EXPECT_EQ(control->value("Package"), "com.sample.theme");
}

}  // namespace
}  // namespace corvane::testing
