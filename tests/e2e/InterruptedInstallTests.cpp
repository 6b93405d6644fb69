// Installs that fail, are cut short or never end, walked as a person walks them with the journey
// tool against real apt-get and dpkg: the device stays usable and every failure reaches the
// person, on screen and in the log.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/ProgramRun.h"
#include "foundation/FileManager.h"
#include "framework/apt/KSAPTCommandLine.h"
#include "framework/apt/KSBubblewrap.h"
#include "framework/apt/KSRootCommandRunner.h"
#include "framework/device/KSPaths.h"
#include "support/ArchiveRepository.h"
#include "support/DebianArchive.h"
#include "support/TempDeviceRoot.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;
using foundation::FileManager;
using testing_support::DebianArchive;

const std::vector<std::string> kNoSources = {"CORVANE_DEFAULT_SOURCES="};

// The processes whose command line names the text.
std::vector<std::string> processesNaming(const std::string& text) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const auto name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        auto line = FileManager::readText(entry.path() / "cmdline").valueOr("");
        std::replace(line.begin(), line.end(), '\0', ' ');
        if (line.find(text) != std::string::npos)
            found.push_back(name + ": " + line);
    }
    return found;
}

class InterruptedInstallTests : public ::testing::Test {
  protected:
    ProgramRun walk(const std::string& steps, RunBounds bounds = {},
                    std::vector<std::string> environment = kNoSources) {
        const auto path = root_.scratchPath("steps");
        std::ofstream(path) << steps;
        return runBounded(bounds, {"--root", root_.path(), "--steps", path}, environment,
                          journeyPath());
    }

    static std::string addSource(const std::string& location) {
        return "open corvane://add/" + location +
               "\nexpect Would you like to add repository\ntap Yes\ntap Add\n";
    }
    static std::string openPage(const std::string& identifier, const std::string& location) {
        return "open corvane://show/shared=Corvane&name=Shared&bundleid=" + identifier +
               "&repo=" + location + "\n";
    }
    static std::string getAndConfirm(const std::string& identifier, const std::string& location) {
        return openPage(identifier, location) +
               "tap GET\ntap Close\ntap Queue\nexpect Main Packages to Proceed\ntap Confirm\n";
    }

    // "half-installed", "installed", ... as dpkg's database holds it, read in the sandbox.
    std::string dpkgQuery(const std::vector<std::string>& arguments) const {
        const auto command = KSAPTCommandLine::dpkg(arguments);
        return command ? KSRootCommandRunner::run(*command).output
                       : command.error().localizedDescription();
    }
    std::string stateOf(const std::string& identifier) const {
        auto words = KSBubblewrap::prefix();
        if (!words)
            return words.error().localizedDescription();
        words->insert(words->end(), {"dpkg-query", "--admindir=" + root_.resolve("/var/lib/dpkg"),
                                     "-W", "-f=${db:Status-Abbrev}", identifier});
        return KSRootCommandRunner::run(KSBubblewrap::commandLine(*words)).output;
    }

    std::string log() const { return readWhole(KSPaths::logFile()); }

    void expectNothingLeftRunning() const {
        EXPECT_TRUE(processesNaming(root_.path()).empty())
            << "still running:\n"
            << [&] {
                   std::string text;
                   for (const auto& process : processesNaming(root_.path()))
                       text += process + "\n";
                   return text;
               }();
    }

    testing_support::TempDeviceRoot root_;
    testing_support::ArchiveRepository repository_;
};

// Killed while dpkg unpacks (its preinst waits for a file, so the moment is exact), the package
// is left half-installed. The next launch cannot fetch its archive again and says so, naming it
// with the way out; its dependant says why it cannot be installed; once the archive can be
// fetched, the launch mends it and the dependant installs.
TEST_F(InterruptedInstallTests, AnInstallKilledWhileDpkgUnpacksIsMendedOrNamedWithTheWayOut) {
    const std::string killed = "com.example.killed";
    const std::string dependant = "com.example.dependant";
    const auto interrupted = DebianArchive(killed)
                                 .field("Name", "Interrupted")
                                 .script("preinst",
                                         "touch \"$DPKG_ROOT/preinst-started\"\n"
                                         "while [ ! -e \"$DPKG_ROOT/go-on\" ]; do sleep 0.1; done");
    const auto served = repository_.add(interrupted);
    repository_.add(DebianArchive(dependant).field("Name", "Dependant").field("Depends", killed));
    const auto location = repository_.location();

    RunBounds killing;
    killing.killWhen = [&] { return fs::exists(root_.resolve("/preinst-started")); };
    const auto cut = walk(addSource(location) + getAndConfirm(killed, location), killing);
    ASSERT_TRUE(cut.killed) << cut.output;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    expectNothingLeftRunning();
    EXPECT_EQ(stateOf(killed), "iHR") << "half-installed, to be reinstalled";
    std::ofstream(root_.resolve("/go-on"));

    const auto away = served.string() + ".away";
    fs::rename(served, away);
    const auto wayOut =
        walk("expect An interrupted operation left Interrupted (" + killed +
             ") unfinished, and the repair could not mend it\n" + openPage(killed, location) +
             "expect UNINSTALL\ntap Close\n" + openPage(dependant, location) +
             "tap GET\ntap Close\ntap Queue\nexpect Dependant (" + dependant +
             ") needs Interrupted, which an interrupted operation left unfinished\n");
    EXPECT_EQ(wayOut.exitStatus, 0) << wayOut.output << wayOut.errors;
    EXPECT_NE(log().find("The task Repair (package.ops) failed: An interrupted operation left"),
              std::string::npos)
        << log();

    fs::rename(away, served);
    const auto mended =
        walk(getAndConfirm(dependant, location) + "expect Setting up Dependant (1.0)\n");
    EXPECT_EQ(mended.exitStatus, 0) << mended.output << mended.errors;
    EXPECT_EQ(dpkgQuery({"--audit"}), "");
    EXPECT_EQ(stateOf(killed), "ii ");
    EXPECT_EQ(stateOf(dependant), "ii ");
}

// A postinst that never ends is stopped after the time limit, and the person hears which package
// it was; nothing of it outlives the program, and the next launch neither runs it again nor
// waits for it.
TEST_F(InterruptedInstallTests, AScriptThatNeverEndsIsStoppedNamedAndNotRunAgain) {
    const std::string sleeper = "com.example.sleeper";
    repository_.add(
        DebianArchive(sleeper)
            .field("Name", "Sleeper")
            .script("postinst", "echo started >> \"$DPKG_ROOT/sleeper-runs\"\nsleep 100000"));
    const std::vector<std::string> shortLimit = {"CORVANE_DEFAULT_SOURCES=",
                                                 "CORVANE_COMMAND_TIME_LIMIT=3"};
    const auto stopped =
        walk(addSource(repository_.location()) + getAndConfirm(sleeper, repository_.location()) +
                 "expect the script of " + sleeper + " made no progress within the time limit\n",
             {}, shortLimit);
    EXPECT_EQ(stopped.exitStatus, 0) << stopped.output << stopped.errors;
    expectNothingLeftRunning();
    EXPECT_EQ(stateOf(sleeper), "iF ") << "half-configured, as dpkg left it";

    const auto started = std::chrono::steady_clock::now();
    const auto relaunch =
        runBounded({60}, {"--root", root_.path(), "--until-idle", "--describe"}, shortLimit);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    EXPECT_EQ(relaunch.exitStatus, 0) << relaunch.errors;
    EXPECT_NE(relaunch.output.find("Button \"Featured\" selected"), std::string::npos);
    EXPECT_EQ(FileManager::readText(root_.resolve("/sleeper-runs")).valueOr(""), "started\n")
        << "the script is not run again";
    EXPECT_NE(log().find("Sleeper (" + sleeper + ") (its script made no progress"),
              std::string::npos)
        << log();
    expectNothingLeftRunning();
}

TEST_F(InterruptedInstallTests, AFailingScriptReachesThePersonAndTheLog) {
    const std::string failing = "com.example.failing";
    repository_.add(DebianArchive(failing).field("Name", "Failing").script("postinst", "exit 1"));
    const auto run =
        walk(addSource(repository_.location()) + getAndConfirm(failing, repository_.location()) +
             "expect Setting up Failing (1.0)\ntap Done\nexpect Error\n"
             "expect dpkg: error processing package " +
             failing + "\n");
    EXPECT_EQ(run.exitStatus, 0) << run.output << run.errors;
    EXPECT_NE(log().find("The task Install-" + failing +
                         " (package.ops) failed: "
                         "The package operation failed (status 100).\ndpkg: error processing "
                         "package " +
                         failing),
              std::string::npos)
        << log();
}

}  // namespace
}  // namespace corvane::testing
