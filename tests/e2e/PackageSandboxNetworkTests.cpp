// Package scripts reach no socket, no network and no message queue of the host, and installs
// need none of them: the archives are fetched by the application's own downloads before apt-get
// runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/HostFolder.h"
#include "e2e/HostListener.h"
#include "e2e/HostMessageQueue.h"
#include "foundation/FileManager.h"
#include "foundation/Strings.h"
#include "framework/apt/AptSandboxFixture.h"
#include "framework/debian/ShellQuote.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSRQueueOperation.h"
#include "framework/tasks/KSPackageAPTOperationTask.h"
#include "framework/tasks/KSPackageDPKGInstallTask.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSPipelinePackageEngine.h"
#include "screens/queue/KSQueueLaunch.h"
#include "support/DebianArchive.h"
#include "support/HostDpkgLog.h"
#include "support/MainLoop.h"

namespace corvane::testing {
namespace {

using Lines = std::vector<std::string>;

// A client of each address, as a script would be: one line each, "<address> reached" or
// "<address> unreachable". Perl is in every Debian system, and so on every host.
std::string probe(const std::vector<std::string>& addresses) {
    constexpr const char* kClient = R"(for my $to (@ARGV) {
    my $reached;
    if ($to =~ /^sysv:([0-9]+)$/) {
        my $queue = msgget($1, 0);
        $reached = defined $queue && msgsnd($queue, pack("l! a*", 1, "knock"), 0);
    } elsif ($to =~ /^[0-9.]+:[0-9]+$/) {
        $reached = IO::Socket::INET->new(PeerAddr => $to, Timeout => 5);
    } else {
        $reached = IO::Socket::UNIX->new(Peer => ($to =~ s/^@/\0/r));
    }
    print "$to ", ($reached ? "reached" : "unreachable"), "\n";
})";
    auto command = "perl -MIO::Socket::UNIX -MIO::Socket::INET -e " + ShellQuote::quote(kClient);
    for (const auto& address : addresses)
        command += " " + ShellQuote::quote(address);
    return command;
}

Lines answered(const std::vector<std::string>& addresses, const std::string& answer) {
    Lines lines;
    for (const auto& address : addresses)
        lines.push_back(address + " " + answer);
    return lines;
}

class PackageSandboxNetworkTests : public AptSandboxFixture {
  protected:
    void SetUp() override {
        AptSandboxFixture::SetUp();
        KSPipelinePackageEngine::registerEngine();
    }

    void TearDown() override {
        EXPECT_TRUE(testing_support::pumpUntil(pipelineIsEmpty, 120));
        AptSandboxFixture::TearDown();
    }

    static bool pipelineIsEmpty() {
        auto& manager = KSPipelineManager::sharedManager();
        return manager.tasksArray().empty() &&
               manager.pipelineOperationQueue()->operationCount() == 0;
    }

    std::size_t requestsFor(const std::string& path) {
        const auto requests = sample_.server().requests();
        return std::ranges::count(requests, path, &testing_support::CapturedRequest::path);
    }
};

// The folder stands in for /run, where a service manager, a message bus or a container engine
// listens: a script that reached one could have it run commands on the host. Services also
// listen on the loopback network, in the abstract namespace and on System V queues.
TEST_F(PackageSandboxNetworkTests, AScriptReachesNoServiceOfTheHost) {
    const HostFolder run{"/var/tmp"};
    const auto name = testing_support::HostDpkgLog::uniquePackageName("listening");
    std::vector<HostListener> listeners;
    listeners.push_back(HostListener::unixSocket(run.path() + "/service.sock"));
    listeners.push_back(HostListener::abstractSocket("corvane-" + name));
    listeners.push_back(HostListener::loopbackPort());
    HostMessageQueue queue;
    std::vector<std::string> addresses = {queue.address()};
    for (const auto& listener : listeners)
        addresses.push_back(listener.address());

    // The same client on the host reaches every one, so the test would see a way out.
    const auto onHost = KSRootCommandRunner::run(probe(addresses));
    ASSERT_EQ(foundation::split(foundation::trimmed(onHost.output), "\n"),
              answered(addresses, "reached"))
        << onHost.output;
    ASSERT_TRUE(queue.wasReached());
    for (auto& listener : listeners)
        ASSERT_TRUE(listener.wasReached()) << listener.address();

    const auto archive =
        testing_support::DebianArchive(name)
            .script("postinst", "mkdir -p \"$DPKG_ROOT/var/mobile\"\n" + probe(addresses) +
                                    " > \"$DPKG_ROOT/var/mobile/" + name + "\"")
            .build(root_.resolve("/var/mobile/Archives"));
    auto task = std::make_shared<KSPackageDPKGInstallTask>(archive, name);
    task->start();
    ASSERT_TRUE(task->outcome().success)
        << task->outcome().error.value_or(foundation::Error{}).localizedDescription();

    EXPECT_EQ(foundation::split(foundation::trimmed(deviceFile("/var/mobile/" + name)), "\n"),
              answered(addresses, "unreachable"));
    EXPECT_FALSE(queue.wasReached());
    for (auto& listener : listeners)
        EXPECT_FALSE(listener.wasReached()) << listener.address();
}

// As the queue confirmation launches it: the records' queue marks are cleared at once, the
// downloads fetch each archive, and apt-get installs from them, an older version included.
TEST_F(PackageSandboxNetworkTests, TheQueueInstallsWhatItsDownloadsFetched) {
    auto& packages = KSRPackageManager::sharedPackageManager().packages();
    packages.setPackage("com.sample.tweak", true, std::nullopt, KSRQueueOperationInstall);
    packages.setPackage("com.sample.versioned", true, "1.0", KSRQueueOperationInstall);
    const std::string queue = "com.sample.tweak com.sample.versioned=1.0";
    const auto tree = KSAPTManager::unmetDependenciesForPackages(queue);
    ASSERT_EQ(tree.downloads.size(), 3u);

    KSQueueLaunch::launchQueueActions(queue, tree);
    ASSERT_TRUE(testing_support::pumpUntil(pipelineIsEmpty, 120));

    EXPECT_EQ(dpkgState("com.sample.tweak"), "install ok installed 1.2");
    EXPECT_EQ(dpkgState("com.sample.corelib"), "install ok installed 1.0.2");
    EXPECT_EQ(dpkgState("com.sample.versioned"), "install ok installed 1.0");
    EXPECT_EQ(deviceFile("/usr/bin/versioned-utility"), "version 1.0\n");
    for (const char* archive : {"/debs/tweak.deb", "/debs/core-lib.deb", "/debs/versioned-1.0.deb"})
        EXPECT_EQ(requestsFor(archive), 1u) << archive;
    EXPECT_EQ(requestsFor("/debs/versioned-2.0.deb"), 0u);
}

TEST_F(PackageSandboxNetworkTests, AnArchiveNotDownloadedFailsInAptsWordsAndIsNotFetched) {
    const auto statusBefore = fileDigest(root_.resolve("/var/lib/dpkg/status"));
    auto task = std::make_shared<KSPackageAPTOperationTask>("com.sample.theme");
    task->start();

    ASSERT_FALSE(task->outcome().success);
    ASSERT_TRUE(task->outcome().error);
    const auto description = task->outcome().error->localizedDescription();
    EXPECT_NE(description.find("E: Unable to fetch some archives"), std::string::npos)
        << description;
    const auto output = task->outcome().error->userInfo["output"].optionalString().value_or("");
    EXPECT_EQ(output.find("Failed to fetch"), std::string::npos) << "apt-get tried: " << output;
    EXPECT_EQ(requestsFor("/debs/theme.deb"), 0u);
    EXPECT_EQ(fileDigest(root_.resolve("/var/lib/dpkg/status")), statusBefore);
}

}  // namespace
}  // namespace corvane::testing
