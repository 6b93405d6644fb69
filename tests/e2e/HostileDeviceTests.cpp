// A package installed through the program's own path plants, from its postinst, what could turn
// the program against the machine it runs on: links from the paths the program once used in the
// device root to a folder of the host, FIFOs, planted APT configuration naming a marker program,
// a file where the root command runner was, a set-user-ID shell. The program then launches,
// repairs, reads dpkg's status, simulates, holds and unholds, refreshes and reads a handed-over
// archive on that device, each step within a time limit and a memory bound; the host's folder
// comes out as it went in, no marker program runs, and its secret is found nowhere.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "e2e/HostFolder.h"
#include "e2e/ProgramRun.h"
#include "foundation/FileManager.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSRootCommandRunner.h"
#include "framework/debian/ShellQuote.h"
#include "support/ArchiveRepository.h"
#include "support/DebianArchive.h"
#include "support/HostDpkgLog.h"
#include "support/TempDeviceRoot.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;
using foundation::FileManager;
using testing_support::DebianArchive;

constexpr const char* kCommandTimeLimit = "20";
const RunBounds kStepBounds{150, std::size_t(2) << 30};
constexpr double kInProcessStepSeconds = 60;

// What the postinst leaves in the device root, beside what every variant leaves.
enum class Planting { links, fifos, aptFolder };

std::string randomText() {
    std::random_device random;
    return std::to_string(random()) + std::to_string(random());
}

// Every entry below the folder, links not followed: its kind, mode, size and what it holds.
std::map<std::string, std::string> treeOf(const std::string& folder) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat info {};
        lstat(entry.path().c_str(), &info);
        auto description = std::to_string(info.st_mode) + " " + std::to_string(info.st_size);
        if (S_ISREG(info.st_mode))
            description += " " + FileManager::readText(entry.path()).valueOr("(unreadable)");
        else if (S_ISLNK(info.st_mode))
            description += " -> " + fs::read_symlink(entry.path()).string();
        tree[fs::relative(entry.path(), folder).string()] = description;
    }
    return tree;
}

// The regular files below the folder whose bytes hold the text.
std::vector<std::string> filesHolding(const std::string& folder, const std::string& text) {
    std::vector<std::string> holding;
    if (!fs::exists(folder))
        return holding;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_symlink() || !entry.is_regular_file())
            continue;
        const auto bytes = FileManager::readFile(entry.path()).valueOr({});
        const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (content.find(text) != std::string_view::npos)
            holding.push_back(entry.path().string());
    }
    return holding;
}

// Runs the work on a thread of its own; false when it has not ended in time.
bool endsWithin(double seconds, std::function<void()> work) {
    auto ended = std::make_shared<std::promise<void>>();
    auto future = ended->get_future();
    std::thread([ended, work = std::move(work)] {
        work();
        ended->set_value();
    }).detach();
    return future.wait_for(std::chrono::duration<double>(seconds)) == std::future_status::ready;
}

class HostileDeviceTests : public ::testing::TestWithParam<Planting> {
  protected:
    void SetUp() override {
        setenv(KSRootCommandRunner::kTimeLimitVariable, kCommandTimeLimit, 1);
        // Open to every user, as a home folder often is: only the device root's own mode may
        // keep them out.
        fs::permissions(fs::path(root_.path()).parent_path(), fs::perms(0755));
        std::ofstream(host_.path() + "/secret.txt") << secret_;
        fs::permissions(host_.path() + "/secret.txt", fs::perms::owner_read);
        std::ofstream(host_.path() + "/preload") << "a list the host's loader reads\n";
        std::ofstream(host_.path() + "/arch-target") << "amd64\n";
        fs::create_directories(host_.path() + "/appsupport");
        fs::create_directories(host_.path() + "/cache");
        std::ofstream(host_.path() + "/cache/keep") << "kept\n";
        hostTree_ = treeOf(host_.path());
        repository_.add(DebianArchive(kPlain).field("Name", "Plain"));
    }

    void TearDown() override { EXPECT_TRUE(markers_.isEmpty()) << "a marker program ran"; }

    // The postinst of the hostile package: it runs in the sandbox, where the host's folders are
    // not there, so every link it makes to them dangles there and leads into the host outside.
    std::string postinst() const {
        const auto host = ShellQuote::quote(host_.path());
        std::string script = R"(D=$DPKG_ROOT
L="$D/var/mobile/Library"
OLD="$L/Application Support/Corvane"
HOST=)" + host + R"(
mkdir -p "$L/Logs/me.kestrune.corvane" "$L/Application Support" "$D/usr/libexec/corvane" \
    "$D/var/run" "$D/etc/apt/apt.conf.d" "$D/var/Keychains" "$D/usr/bin"
MARKER="$D/usr/bin/corvane-marker"
printf '#!/bin/sh\necho ran >> "%s/marker-ran"\necho ran >> %s/ran\n' "$D" )" +
                             ShellQuote::quote(markers_.path()) + R"( > "$MARKER"
chmod 755 "$MARKER"
CONF="Dir::Bin::dpkg \"$MARKER\"; APT::Update::Pre-Invoke { \"$MARKER\"; };
DPkg::Pre-Invoke { \"$MARKER\"; }; DPkg::Post-Invoke { \"$MARKER\"; };"
echo "$CONF" > "$D/etc/apt/apt.conf.d/99corvane"
cp "$MARKER" "$D/usr/libexec/corvane/groot"
touch -d @0 "$D/usr/libexec/corvane/groot"
cp /bin/sh "$D/sh-root"
chmod 4755 "$D/sh-root"
)";
        switch (GetParam()) {
            case Planting::links:
                return script + R"(ln -sfn "$HOST/preload" "$L/Logs/me.kestrune.corvane/corvane.log"
ln -sfn "$HOST/appsupport" "$OLD"
ln -sfn "$HOST/created-lock" "$D/var/run/corvane-groot.lock"
ln -sfn "$HOST/arch-target" "$D/var/lib/dpkg/arch-new"
ln -sfn "$HOST/secret.txt" "$D/var/lib/dpkg/info/$DPKG_MAINTSCRIPT_PACKAGE.list"
ln -sfn "$HOST/secret.txt" "$D/var/Keychains/generic-passwords.plist"
)";
            case Planting::fifos:
                return script + R"(mkfifo "$L/Logs/me.kestrune.corvane/corvane.log"
rm -f "$D/var/lib/dpkg/arch"
mkfifo "$D/var/lib/dpkg/arch"
ln -sfn /nonexistent/corvane-data "$OLD"
)";
            case Planting::aptFolder:
                return script + R"(mkdir -p "$OLD/APT/etc/apt.conf.d"
echo "$CONF" > "$OLD/APT/apt.conf"
echo "$CONF" > "$OLD/APT/etc/apt.conf.d/99corvane"
ln -sfn "$HOST/cache" "$OLD/APT/cache"
ln -sfn "$HOST/secret.txt" "$OLD/Corvane.realm"
ln -sfn "$HOST/secret.txt" "$OLD/me.kestrune.corvane.plist"
ln -sfn "$HOST/secret.txt" "$L/Logs/me.kestrune.corvane/corvane.log"
)";
        }
        return script;
    }

    // Handed over by another application as a file URL.
    static std::string handOver(const std::string& archive) { return "file://" + archive; }

    // An archive whose control member is a link to the host's secret.
    std::string archiveWithLinkedControl() const {
        const auto work = root_.scratchPath("linked-control");
        const auto script =
            "set -e\nmkdir -p \"$1/control\" \"$1/data\"\n"
            "ln -s \"$2\" \"$1/control/control\"\n"
            "cd \"$1\"\necho 2.0 > debian-binary\n"
            "tar -czf control.tar.gz -C control .\n"
            "tar -czf data.tar.gz -C data .\n"
            "ar rc linked.deb debian-binary control.tar.gz data.tar.gz\n";
        const auto built =
            runProgram({"-c", script, "sh", work, host_.path() + "/secret.txt"}, {}, "/bin/sh");
        EXPECT_EQ(built.exitStatus, 0) << built.errors;
        return work + "/linked.deb";
    }

    // One launch of the program on the device, within the step's bounds; what it showed.
    std::string launch(const std::string& step, std::vector<std::string> arguments,
                       const std::string& data) {
        SCOPED_TRACE(step);
        std::vector<std::string> words = {"--root", root_.path(), "--data", data};
        words.insert(words.end(), arguments.begin(), arguments.end());
        words.insert(words.end(), {"--until-idle", "--describe"});
        const auto run = runBounded(kStepBounds, words, {"CORVANE_DEFAULT_SOURCES="});
        EXPECT_FALSE(run.overTime) << run.output;
        EXPECT_FALSE(run.overMemory) << run.peakResidentBytes << " bytes";
        EXPECT_EQ(run.exitStatus, 0) << run.errors;
        screens_ += run.output;
        return run.output;
    }
    std::string launch(const std::string& step, std::vector<std::string> arguments) {
        return launch(step, std::move(arguments), root_.dataPath());
    }

    // What the person does on the device the package has worked on.
    void walkTheDevice() {
        launch("the repository added", {"--open", "corvane://add/" + repository_.location(),
                                        "--answer", "Yes", "--answer", "Add"});
        const auto hostile = DebianArchive(hostile_)
                                 .script("postinst", postinst())
                                 .build(root_.scratchPath("built"));
        launch("the hostile archive installed",
               {"--open", handOver(hostile), "--answer", "Install"});
        if (GetParam() == Planting::fifos) {
            // dpkg rewrites its status by renaming a new file over it, so no script can leave
            // this link behind; a person or another program could.
            fs::remove(root_.resolve("/var/lib/dpkg/status"));
            fs::create_symlink("/dev/zero", root_.resolve("/var/lib/dpkg/status"));
        }
        launch("a launch, its repair and a refresh",
               {"--shortcut", "me_kestrune_corvane_shortcuts_refresh"});
        EXPECT_TRUE(endsWithin(kInProcessStepSeconds, [] {
            (void)KSAPTManager::unmetDependenciesForPackages(kPlain);
        })) << "the simulation";
        EXPECT_TRUE(endsWithin(kInProcessStepSeconds, [this] {
            (void)KSAPTManager::hold(hostile_);
            (void)KSAPTManager::unhold(hostile_);
        })) << "the hold and unhold";
        launch("an archive whose control is a link",
               {"--open", handOver(archiveWithLinkedControl()), "--answer", "Cancel"});
        launch("a launch that would move an earlier version's data", {},
               root_.scratchPath("fresh-data"));
    }

    // Another user of the machine runs the planted set-user-ID shell.
    void expectTheShellServesNoOtherUser() const {
        const auto shell = root_.resolve("/sh-root");
        struct stat info {};
        ASSERT_EQ(lstat(shell.c_str(), &info), 0);
        EXPECT_TRUE(info.st_mode & S_ISUID) << "the shell was planted set-user-ID";
        if (geteuid() != 0)
            return;
        // With -p the shell keeps the rights its mode gives it, as a shell an attacker brings
        // would.
        const auto run =
            runProgram({"-u", "nobody", "--", shell, "-p", "-c", "id -u"}, {}, "/usr/sbin/runuser");
        EXPECT_NE(run.exitStatus, 0) << run.output;
        EXPECT_EQ(run.output, "");
    }

    static constexpr const char* kPlain = "com.example.hostile.plain";

    testing_support::TempDeviceRoot root_;
    // Outside /tmp, which the sandbox makes its own.
    const HostFolder host_{"/var/tmp"};
    const HostFolder markers_{"/var/tmp"};
    const std::string secret_ = "corvane-host-secret-" + randomText();
    const std::string hostile_ = testing_support::HostDpkgLog::uniquePackageName("hostile");
    testing_support::ArchiveRepository repository_;
    std::map<std::string, std::string> hostTree_;
    std::string screens_;
};

TEST_P(HostileDeviceTests, WhatAPackagePlantsServesItNothingOnTheHost) {
    walkTheDevice();

    EXPECT_EQ(treeOf(host_.path()), hostTree_) << "the host's folder changed";
    EXPECT_FALSE(fs::exists(root_.resolve("/marker-ran"))) << "a marker program ran";
    for (const auto& folder : {root_.path(), root_.dataPath(), root_.scratchPath("fresh-data")})
        EXPECT_EQ(filesHolding(folder, secret_), std::vector<std::string>{}) << folder;
    EXPECT_EQ(screens_.find(secret_), std::string::npos) << screens_;
    expectTheShellServesNoOtherUser();
    for (const auto& folder : {root_.path(), root_.dataPath()})
        EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all)
            << folder;
}

INSTANTIATE_TEST_SUITE_P(Plantings, HostileDeviceTests,
                         ::testing::Values(Planting::links, Planting::fifos, Planting::aptFolder),
                         [](const auto& info) {
                             switch (info.param) {
                                 case Planting::links:
                                     return std::string("Links");
                                 case Planting::fifos:
                                     return std::string("FIFOs");
                                 case Planting::aptFolder:
                                     return std::string("APTFolder");
                             }
                             return std::string();
                         });

}  // namespace
}  // namespace corvane::testing
