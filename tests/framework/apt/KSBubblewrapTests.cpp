#include "framework/apt/KSBubblewrap.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "foundation/DataFolder.h"
#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "framework/apt/DeviceDpkg.h"
#include "framework/apt/KSAPTCommandLine.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSAPTQueueEntry.h"
#include "framework/apt/KSAPTSandbox.h"
#include "framework/debian/ShellQuote.h"
#include "support/DebianArchive.h"
#include "support/TempDeviceRoot.h"

namespace corvane {
namespace {

using foundation::FileManager;

class KSBubblewrapTests : public ::testing::Test {
  protected:
    bool runnerWasUsed() const {
        return FileManager::fileExists(KSRootCommandRunner::lockPath());
    }

    // Every command that may run a package's scripts is refused with the same reason, and
    // nothing ran for it.
    void expectRefusedEverywhere(const std::string& reason) {
        SCOPED_TRACE(reason);
        const auto prefix = KSBubblewrap::prefix();
        ASSERT_FALSE(prefix);
        EXPECT_EQ(prefix.error().code, KSAPTManager::kSandboxUnavailable);
        const auto description = prefix.error().localizedDescription();
        EXPECT_NE(description.find("nothing is installed, removed or configured"),
                  std::string::npos)
            << description;
        EXPECT_NE(description.find(reason), std::string::npos) << description;

        KSAPTQueueEntry entry;
        entry.identifier = "com.sample.tweak";
        for (const auto& command :
             {KSAPTCommandLine::dpkg({"--configure", "-a"}), KSAPTCommandLine::aptGet({"-f"}),
              KSAPTCommandLine::install({entry}), KSAPTCommandLine::simulation({entry}),
              KSAPTCommandLine::aptGetDownload({"install", "-f"}),
              KSAPTCommandLine::apt("apt-mark", {"hold", "com.sample.tweak"}),
              KSAPTCommandLine::prepareDevice({"iphoneos-arm"}),
              KSAPTCommandLine::removeArchives(),
              KSAPTManager::installCommandForQueue("com.sample.tweak")}) {
            ASSERT_FALSE(command);
            EXPECT_EQ(command.error().localizedDescription(), description);
        }
        const auto repair = KSAPTManager::fixPartiallyInstalledPackages();
        EXPECT_EQ(repair.status, KSRootCommandRunner::kNotStartedStatus);
        EXPECT_EQ(repair.output, description + "\n");
        EXPECT_EQ(KSAPTManager::hold("com.sample.tweak").output, description + "\n");
        EXPECT_EQ(KSAPTManager::unmetDependenciesForPackages("com.sample.tweak").failure,
                  std::vector<std::string>{description});
    }

    testing_support::TempDeviceRoot root_;
};

TEST_F(KSBubblewrapTests, WithoutASandboxNothingOnTheDeviceRootIsBuilt) {
    ASSERT_TRUE(KSAPTSandbox::create());
    setenv(KSBubblewrap::kProgramVariable, "/nonexistent/bwrap", 1);
    expectRefusedEverywhere("\u201C/nonexistent/bwrap\u201D (CORVANE_BWRAP) cannot be run.");
    setenv(KSBubblewrap::kProgramVariable, root_.path().c_str(), 1);
    expectRefusedEverywhere(root_.path());

    unsetenv(KSBubblewrap::kProgramVariable);
    const auto path = std::string(std::getenv("PATH"));
    setenv("PATH", (root_.path() + ":/nonexistent").c_str(), 1);
    expectRefusedEverywhere("bubblewrap (bwrap) is not installed.");
    setenv("PATH", path.c_str(), 1);
    EXPECT_FALSE(runnerWasUsed());

    // A program that cannot make namespaces, as bubblewrap says it where they are refused.
    const auto refusing = root_.path() + "/refusing-bwrap";
    ASSERT_TRUE(FileManager::writeAtomically(
        refusing, std::string_view("#!/bin/sh\necho 'bwrap: No permissions to creating new "
                                   "namespace' >&2\nexit 1\n")));
    std::filesystem::permissions(refusing, std::filesystem::perms(0755));
    setenv(KSBubblewrap::kProgramVariable, refusing.c_str(), 1);
    expectRefusedEverywhere(
        "bubblewrap cannot make one here (bwrap: No permissions to creating new namespace).");
    unsetenv(KSBubblewrap::kProgramVariable);

    foundation::DeviceRoot::set("/");
    expectRefusedEverywhere("the device root is the host's own file system.");
}

// The device root is a word like any other, however it is written, and the sandbox finds it
// whether it is named where it lies or through a link that only the host's /tmp holds.
TEST_F(KSBubblewrapTests, TheDeviceRootIsQuotedAndReachableThroughALink) {
    const auto device = root_.path() + "/it's a $(touch pwned) `root`";
    const auto link = root_.path() + "/link";
    foundation::DataFolder::set(root_.dataPath());
    ASSERT_TRUE(FileManager::createDirectory(device));
    std::filesystem::create_directory_symlink(device, link);
    foundation::DeviceRoot::set(device);
    ASSERT_TRUE(KSAPTManager::createAPTSandboxIfNeeded());
    const auto archive = testing_support::DebianArchive("com.example.proof")
                             .file("/proof/file.txt", "proof")
                             .script("postinst", "echo \"$DPKG_ROOT\" > \"$DPKG_ROOT/proof.txt\"")
                             .build(device);

    const auto line = KSAPTCommandLine::dpkg({"-i", archive});
    ASSERT_TRUE(line);
    const auto inside = KSBubblewrap::commandInside(*line);
    EXPECT_EQ(inside.rfind(ShellQuote::join({"dpkg", "--root=" + device}), 0), 0u)
        << "the console shows what runs inside: " << inside;
    EXPECT_EQ(inside.find("bwrap"), std::string::npos) << inside;
    EXPECT_EQ(KSBubblewrap::commandInside("apt-get update"), "apt-get update");

    const auto installed = testing::deviceDpkg({"-i", archive});
    ASSERT_TRUE(installed.succeeded()) << installed.output;
    EXPECT_EQ(FileManager::readText(device + "/proof.txt").valueOr(""), device + "\n");

    foundation::DeviceRoot::set(link);
    const auto removed = testing::deviceDpkg({"-r", "com.example.proof"});
    EXPECT_TRUE(removed.succeeded()) << removed.output;
    EXPECT_FALSE(FileManager::fileExists(device + "/proof/file.txt")) << removed.output;
    EXPECT_FALSE(FileManager::fileExists(root_.path() + "/pwned"));
    EXPECT_FALSE(FileManager::fileExists(device + "/pwned"));
    EXPECT_FALSE(FileManager::fileExists("pwned"));
}

// Sockets of the host's services lie under /run and wherever else a service keeps its state, and
// connecting to one works on a read-only mount too: of the host only its programs and their
// configuration are there, read-only, and /run is the sandbox's own.
TEST_F(KSBubblewrapTests, OfTheHostOnlyItsProgramsAreThere) {
    const auto written = "/run/corvane-sandbox-" + std::to_string(getpid());
    std::vector<std::string> arguments = {written, "/home",    "/root",    "/srv",       "/mnt",
                                          "/opt",  "/var/lib", "/var/tmp", "/var/spool", "/sys"};
    ASSERT_TRUE(KSAPTSandbox::create());
    auto words = KSBubblewrap::prefix();
    ASSERT_TRUE(words) << words.error().localizedDescription();
    words->insert(words->end(), {"sh", "-c", R"(find /run/ /var/run/ -mindepth 1
touch "$1" && test -e "/var$1" || echo "/var/run is not /run"
shift
for folder; do test -e "$folder" && echo "$folder is there"; done
test -r /etc/passwd && test -x /usr/bin/dpkg && test -x /bin/sh || echo "a program is missing"
for file in /planted /usr/planted /etc/planted; do
    touch "$file" 2>/dev/null && echo "$file was written"
done
exit 0)",
                                 "sh"});
    words->insert(words->end(), arguments.begin(), arguments.end());

    const auto result = KSRootCommandRunner::run(ShellQuote::join(*words));
    EXPECT_TRUE(result.succeeded()) << result.output;
    EXPECT_EQ(result.output, "");
    EXPECT_FALSE(FileManager::fileExists(written));
    EXPECT_FALSE(FileManager::fileExists("/planted"));
}

}  // namespace
}  // namespace corvane
