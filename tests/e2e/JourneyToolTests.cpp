// The journey tool plays a person's steps on the application; the walks of the end-to-end tests
// and the demo rest on it doing each step, in order, only once the application is at rest, and
// on it stopping at the first step it cannot do.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "e2e/ProgramRun.h"
#include "support/SampleRepository.h"
#include "support/TempDeviceRoot.h"

namespace corvane::testing {
namespace {

const std::vector<std::string> kNoSources = {"CORVANE_DEFAULT_SOURCES="};

class JourneyToolTests : public ::testing::Test {
  protected:
    ProgramRun walk(const std::string& steps) {
        const auto path = root_.path() + "/steps";
        std::ofstream(path) << steps;
        return runProgram({"--root", root_.path() + "/device", "--steps", path}, kNoSources,
                          journeyPath());
    }

    testing_support::TempDeviceRoot root_;
};

// The refresh that the second alert's answer starts must end before the share link is opened,
// else the link would ask to add the repository once more.
TEST_F(JourneyToolTests, EachStepWaitsForWhatTheStepBeforeStarted) {
    testing_support::SampleRepository repository;
    auto run = walk(
        "# add the sample repository, then open one of its packages\n"
        "open corvane://add/" +
        repository.location() + "\n" +
        "expect Would you like to add repository\n"
        "tap Yes\n"
        "tap Add\n"
        "open corvane://show/shared=Corvane&name=Core&bundleid=com.sample.corelib"
        "&repo=" +
        repository.location() + "\n" +
        "expect Core Library\n"
        "show page\n");
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("> tap Add"), std::string::npos);
    EXPECT_NE(run.output.find("Label \"Core Library\""), std::string::npos) << "shown";
    EXPECT_NE(run.output.find("Walked 7 steps"), std::string::npos);
}

TEST_F(JourneyToolTests, TheFirstStepThatCannotBeDoneEndsTheJourney) {
    auto run = walk("expect Featured\ntap Nowhere To Be Seen\nshow never\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.output.find("line 2, \"tap Nowhere To Be Seen\", failed: nothing a finger can "
                              "reach on screen reads \"Nowhere To Be Seen\""),
              std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("> show never"), std::string::npos);

    auto covered = walk("open corvane://add/http://127.0.0.1:9/\ntap Featured\n");
    EXPECT_EQ(covered.exitStatus, 1) << "the alert covers the tab bar: " << covered.output;

    auto noShortcut = walk("shortcut Make Coffee\n");
    EXPECT_EQ(noShortcut.exitStatus, 1);
    EXPECT_NE(noShortcut.output.find("the application's icon offers no shortcut \"Make Coffee\""),
              std::string::npos)
        << noShortcut.output;

    auto unreadable = walk("tap\n");
    EXPECT_EQ(unreadable.exitStatus, 2);
    EXPECT_NE(unreadable.errors.find("Line 1: \"tap\" is no step"), std::string::npos)
        << unreadable.errors;
}

}  // namespace
}  // namespace corvane::testing
