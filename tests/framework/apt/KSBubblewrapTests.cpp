#include "framework/apt/KSBubblewrap.h"

#include <sys/stat.h>
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
#include "framework/device/KSPaths.h"
#include "support/DebianArchive.h"
#include "support/HttpServer.h"
#include "support/TempDeviceRoot.h"

namespace corvane {
namespace {

using foundation::FileManager;

class KSBubblewrapTests : public ::testing::Test {
  protected:
    bool runnerWasUsed() const { return FileManager::fileExists(KSRootCommandRunner::lockPath()); }

    // Every command that may run a package's scripts is refused with the same reason, and
    // nothing ran for it.
    void expectRefusedEverywhere(const std::string& reason, bool onTheDevice = true) {
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
              KSAPTManager::installCommandForQueue("com.sample.tweak")}) {
            ASSERT_FALSE(command);
            EXPECT_EQ(command.error().localizedDescription(), description);
        }
        if (onTheDevice) {
            const auto repair = KSAPTManager::fixPartiallyInstalledPackages();
            EXPECT_EQ(repair.status, KSRootCommandRunner::kNotStartedStatus);
            EXPECT_EQ(repair.output, description + "\n");
        }
        EXPECT_EQ(KSAPTManager::hold("com.sample.tweak").output, description + "\n");
        EXPECT_EQ(KSAPTManager::unmetDependenciesForPackages("com.sample.tweak").failure,
                  std::vector<std::string>{description});
    }

    testing_support::TempDeviceRoot root_;
};

TEST_F(KSBubblewrapTests, WithoutASandboxNothingOnTheDeviceRootIsBuilt) {
    ASSERT_TRUE(KSAPTSandbox::create());
    ASSERT_TRUE(FileManager::createDirectory(root_.resolve("/var/lib/dpkg")));
    ASSERT_TRUE(FileManager::writeAtomically(
        root_.resolve("/var/lib/dpkg/status"),
        std::string_view("Package: com.example.pending\nStatus: install ok unpacked\n\n")));
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
    expectRefusedEverywhere("the device root is the host's own file system.", false);
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

// Started by root, a sandbox would keep every capability: enough to make a device node of the
// host's disk in the device root and write it through. Of them only what dpkg needs to give
// unpacked files their owners and modes is kept.
TEST_F(KSBubblewrapTests, ACommandKeepsOnlyWhatUnpackingNeedsAndMakesNoDeviceNode) {
    ASSERT_TRUE(KSAPTSandbox::create());
    auto words = KSBubblewrap::prefix();
    ASSERT_TRUE(words) << words.error().localizedDescription();
    const auto node = root_.resolve("/dev-null");
    words->insert(words->end(), {"sh", "-c", R"(grep -E '^Cap(Prm|Eff):' /proc/self/status
mknod "$1" c 1 3 2>/dev/null && echo "a device node was made"
exit 0)",
                                 "sh", node});

    const auto result = KSRootCommandRunner::run(ShellQuote::join(*words));
    EXPECT_TRUE(result.succeeded()) << result.output;
    // CAP_CHOWN (0), CAP_DAC_OVERRIDE (1), CAP_FOWNER (3) and CAP_FSETID (4).
    EXPECT_EQ(result.output, "CapPrm:\t000000000000001b\nCapEff:\t000000000000001b\n");
    std::error_code error;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(node, error)));
}

// Of the data folder only APT's folder is there, read-only but for what the command fills, and
// the network only for the download.
TEST_F(KSBubblewrapTests, OfTheDataFolderOnlyAPTsFolderIsThereAndWrittenOnlyWhereTheCommandFills) {
    ASSERT_TRUE(KSAPTSandbox::create());
    ASSERT_TRUE(FileManager::writeAtomically(KSPaths::databaseFile(), std::string_view("db")));
    const auto archives = KSAPTManager::archivesDirectory();
    testing_support::HttpServer host;
    host.start();
    const auto probe = [&](KSBubblewrap::Access access) {
        KSBubblewrap::Sandbox sandbox;
        sandbox.access = access;
        auto words = KSBubblewrap::prefix(sandbox);
        EXPECT_TRUE(words) << words.error().localizedDescription();
        words->insert(words->end(),
                      {"sh", "-c", R"(
test -e "$1" && echo "the database is there"
test -r "$2" || echo "APT's configuration is missing"
touch "$2" 2>/dev/null && echo "APT's configuration was written"
touch "$3/probe" 2>/dev/null && rm "$3/probe" && echo "archives written"
bash -c "exec 3<>/dev/tcp/127.0.0.1/$4" 2>/dev/null && echo "network"
exit 0)",
                       "sh", KSPaths::databaseFile(), KSAPTManager::configurationFile(), archives,
                       std::to_string(host.port())});
        const auto result = KSRootCommandRunner::run(ShellQuote::join(*words));
        EXPECT_TRUE(result.succeeded()) << result.output;
        return result.output;
    };
    EXPECT_EQ(probe(KSBubblewrap::Access::device), "");
    EXPECT_EQ(probe(KSBubblewrap::Access::caches), "archives written\n");
    EXPECT_EQ(probe(KSBubblewrap::Access::download), "archives written\nnetwork\n");
}

// The console shows the command without the sandbox and the limits around it.
TEST_F(KSBubblewrapTests, TheConsoleShowsTheCommandInsideTheSandbox) {
    ASSERT_TRUE(KSAPTSandbox::create());
    auto words = KSBubblewrap::prefix();
    ASSERT_TRUE(words);
    words->insert(words->end(), {"sh", "-c", "echo inside"});
    const auto line = KSBubblewrap::commandLine(*words);
    EXPECT_TRUE(line.starts_with("exec '/")) << line;
    EXPECT_EQ(KSBubblewrap::commandInside(line), "'sh' '-c' 'echo inside'");
    const auto result = KSRootCommandRunner::run(line);
    EXPECT_EQ(result.output, "inside\n");
}

// What a package leaves in dpkg's database that dpkg never makes is named, and nothing of dpkg
// runs on it.
TEST_F(KSBubblewrapTests, ALinkOrFIFOInDpkgsDatabaseIsRefusedByName) {
    ASSERT_TRUE(KSAPTManager::createAPTSandboxIfNeeded());
    const auto arch = root_.resolve("/var/lib/dpkg/arch");
    std::filesystem::remove(arch);
    ASSERT_EQ(mkfifo(arch.c_str(), 0600), 0);
    auto refused = KSAPTManager::createAPTSandboxIfNeeded();
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().localizedDescription().find("dpkg's database holds " + arch +
                                                          ", which dpkg never makes"),
              std::string::npos)
        << refused.error().localizedDescription();

    std::filesystem::remove(arch);
    std::filesystem::create_symlink("/dev/zero", arch);
    EXPECT_FALSE(KSAPTManager::createAPTSandboxIfNeeded());
    std::filesystem::remove(arch);
    std::filesystem::create_symlink("/dev/zero", root_.resolve("/var/lib/dpkg/info/a.list"));
    EXPECT_TRUE(KSAPTManager::createAPTSandboxIfNeeded()) << "dpkg reads a list only in place";
}

}  // namespace
}  // namespace corvane
