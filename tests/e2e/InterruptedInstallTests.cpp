// Installs that fail, are cut short or never end, walked as a person walks them: the device stays
// usable and every failure reaches the person.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "e2e/ProgramRun.h"
#include "foundation/FileManager.h"
#include "support/ArchiveRepository.h"
#include "support/DebianArchive.h"
#include "support/TempDeviceRoot.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;
using testing_support::DebianArchive;

const std::vector<std::string> kNoSources = {"CORVANE_DEFAULT_SOURCES="};

class InterruptedInstallTests : public ::testing::Test {
  protected:
    ProgramRun walk(const std::string& steps) {
        const auto path = root_.scratchPath("steps");
        std::ofstream(path) << steps;
        return runProgram({"--root", root_.path(), "--steps", path}, kNoSources, journeyPath());
    }

    static std::string getAndConfirm(const std::string& identifier, const std::string& location) {
        return "open corvane://add/" + location +
               "\nexpect Would you like to add repository\ntap Yes\ntap Add\n"
               "open corvane://show/shared=Corvane&name=Shared&bundleid=" +
               identifier + "&repo=" + location +
               "\ntap GET\ntap Close\ntap Queue\nexpect Main Packages to Proceed\ntap Confirm\n";
    }

    testing_support::TempDeviceRoot root_;
};

TEST_F(InterruptedInstallTests, AFailingScriptReachesThePersonAndTheLog) {
    testing_support::ArchiveRepository repository;
    const std::string name = "com.example.failing";
    repository.add(DebianArchive(name).field("Name", "Failing").script("postinst", "exit 1"));
    const auto run = walk(getAndConfirm(name, repository.location()) +
                          "expect Setting up Failing (1.0)\ntap Done\nshow end\n");
    EXPECT_EQ(run.exitStatus, 0) << run.output << run.errors;
    std::cout << run.output
              << readWhole(root_.dataPath() +
                           "/var/mobile/Library/Logs/me.kestrune.corvane/corvane.log");
}

}  // namespace
}  // namespace corvane::testing
