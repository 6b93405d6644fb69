#include <gtest/gtest.h>

#include <sstream>
#include <thread>
#include <vector>

#include "foundation/Log.h"

using namespace foundation;

TEST(Log, LineCarriesPrefixFunctionLineAndFormattedMessage) {
    testing::internal::CaptureStderr();
    int line = __LINE__ + 1;
    KSLog("Installed %@ (%d files)", "tweak", 3);
    KSLog("No arguments");
    logPlain("- standing alone");
    std::string expected = "(*** Corvane 5 ***) TestBody [Line " + std::to_string(line) +
                           "] Installed tweak (3 files)\n" + "(*** Corvane 5 ***) TestBody [Line " +
                           std::to_string(line + 1) + "] No arguments\n" + "- standing alone\n";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), expected);
}

TEST(Log, LinesFromManyThreadsNeverInterleave) {
    testing::internal::CaptureStderr();
    std::vector<std::thread> threads;
    std::string payload(500, 'x');
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 100; ++i)
                logPlain(std::to_string(t) + payload);
        });
    for (auto& thread : threads)
        thread.join();
    std::istringstream output(testing::internal::GetCapturedStderr());
    int lines = 0;
    for (std::string line; std::getline(output, line); ++lines) {
        ASSERT_EQ(line.size(), payload.size() + 1);
        ASSERT_EQ(line.substr(1), payload);
    }
    EXPECT_EQ(lines, 800);
}
