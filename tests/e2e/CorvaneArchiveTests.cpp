// Archives of this machine handed to the corvane program as file URLs, as a file manager hands
// them over, on fresh device roots: read, shown, installed with dpkg into the device root, or
// cancelled.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e/ProgramRun.h"
#include "foundation/FileManager.h"
#include "foundation/Strings.h"
#include "foundation/URL.h"
#include "framework/apt/KSInboxArchive.h"
#include "support/CommandMarker.h"
#include "support/SampleRepository.h"
#include "support/TempDeviceRoot.h"

namespace corvane::testing {
namespace {

using foundation::FileManager;
using testing_support::CommandMarker;
namespace fs = std::filesystem;

const std::vector<std::string> kNoSources = {"CORVANE_DEFAULT_SOURCES="};

class CorvaneArchiveTests : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { sample_ = new testing_support::SampleRepository(); }
    static void TearDownTestSuite() {
        delete sample_;
        sample_ = nullptr;
    }
    void TearDown() override {
        EXPECT_TRUE(CommandMarker::noCommandRan()) << "a file name ran a command";
    }

    // Left in a folder of this machine, outside the device root, as another application leaves
    // it.
    std::string handOver(const std::string& archive, const std::string& name) {
        const auto path = documents() + "/" + name;
        EXPECT_TRUE(FileManager::createDirectory(fs::path(path).parent_path().string()));
        EXPECT_TRUE(FileManager::copyItem(
            (sample_->folder() / "debs" / (archive + ".deb")).string(), path));
        return path;
    }
    ProgramRun open(const std::string& url, const std::vector<std::string>& answers) {
        std::vector<std::string> arguments = {"--root", root_.path(), "--open", url};
        for (const auto& answer : answers) {
            arguments.push_back("--answer");
            arguments.push_back(answer);
        }
        arguments.insert(arguments.end(), {"--until-idle", "--describe"});
        return runProgram(arguments, kNoSources);
    }
    std::string documents() const { return root_.scratchPath("Documents"); }
    // "file:///.../Documents/<name>", the name escaped.
    std::string urlOf(const std::string& name) const {
        return "file://" + documents() + "/" +
               foundation::percentEncode(name, foundation::PercentEncoding::PathComponent);
    }
    std::string deviceStatus() const {
        return FileManager::readText(root_.resolve("/var/lib/dpkg/status")).valueOr("");
    }
    static bool inboxIsEmpty() {
        auto names = FileManager::contentsOfDirectory(KSInboxArchive::inboxDirectory());
        return !names || names->empty();
    }

    static inline testing_support::SampleRepository* sample_ = nullptr;
    testing_support::TempDeviceRoot root_;
};

TEST_F(CorvaneArchiveTests, AnArchiveShowsItsFieldsAndInstallPutsItIntoTheDevicesDpkgStatus) {
    const auto handed = handOver("core-lib", "a b.deb");
    auto shown = open(urlOf("a b.deb"), {});
    ASSERT_EQ(shown.exitStatus, 0) << shown.errors;
    for (const char* text : {"Label \"Package\"", "Label \"com.sample.corelib\"",
                             "Label \"Ada Sample <ada@sample.test>\"", "Label \"Raw Info\"",
                             "Button \"Cancel\"", "Button \"Install\"\n"})
        EXPECT_NE(shown.output.find(text), std::string::npos) << text << "\n" << shown.output;
    EXPECT_EQ(deviceStatus().find("com.sample.corelib"), std::string::npos);

    auto installed = open(urlOf("a b.deb"), {"Install"});
    ASSERT_EQ(installed.exitStatus, 0) << installed.errors;
    const auto status = deviceStatus();
    EXPECT_NE(status.find("Package: com.sample.corelib\nStatus: install ok installed"),
              std::string::npos)
        << status << "\n"
        << installed.output;
    EXPECT_NE(installed.output.find("Setting up com.sample.corelib"), std::string::npos)
        << "the console follows the install\n"
        << installed.output;
    EXPECT_TRUE(inboxIsEmpty()) << "the copy goes with the end of the install";
    EXPECT_TRUE(FileManager::fileExists(handed)) << "the handed-over file stays";
}

TEST_F(CorvaneArchiveTests, AFileNamedWithCommandsRunsNothingAndStaysAfterCancel) {
    const auto name = CommandMarker::hostileName("x.deb");
    const auto handed = handOver("theme", name);
    const auto url = urlOf(name);
    const auto parsed = foundation::URL::withString(url);
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->path(), documents() + "/" + name) << "the URL names the file";
    auto run = open(url, {"Cancel"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(run.output.find("Button \"Install\""), std::string::npos) << "the screen has gone\n"
                                                                        << run.output;
    EXPECT_TRUE(FileManager::fileExists(handed));
    EXPECT_TRUE(inboxIsEmpty());
    EXPECT_EQ(deviceStatus().find("com.sample.theme"), std::string::npos);
    EXPECT_FALSE(FileManager::fileExists(root_.resolve(std::string("/") + CommandMarker::kMarker)));
}

TEST_F(CorvaneArchiveTests, ADamagedArchiveShowsAnErrorRowAndInstallStaysDisabled) {
    const auto handed = handOver("theme", "cut.deb");
    auto bytes = FileManager::readFile(handed).valueOr({});
    bytes.resize(bytes.size() / 2);
    ASSERT_TRUE(FileManager::writeAtomically(handed, bytes));
    auto run = open(urlOf("cut.deb"), {"Install"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_NE(run.output.find("Label \"This package cannot be read\""), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Button \"Install\" disabled"), std::string::npos) << run.output;
    EXPECT_EQ(deviceStatus().find("com.sample.theme"), std::string::npos);

    // A file that is not there is named as missing, not as something else.
    auto missing = open(urlOf("gone.deb"), {"Install"});
    ASSERT_EQ(missing.exitStatus, 0) << missing.errors;
    EXPECT_NE(missing.output.find(documents() + "/gone.deb\u201D: no such file."),
              std::string::npos)
        << missing.output;
    EXPECT_EQ(missing.output.find("not a package archive"), std::string::npos) << missing.output;
}

}  // namespace
}  // namespace corvane::testing
