#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/launch/KSLogFile.h"
#include "app/launch/KSLogTrimmer.h"
#include "framework/device/KSPaths.h"
#include "support/TempDeviceRoot.h"

namespace corvane::testing {
namespace {

std::string numberedLines(std::size_t count, bool closingNewline = true) {
    std::string text;
    for (std::size_t line = 1; line <= count; ++line) {
        text += "line " + std::to_string(line);
        if (line < count || closingNewline)
            text += "\n";
    }
    return text;
}

std::string readWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeWhole(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

TEST(KSLogTrimmerTests, ALogIsCutToItsLastLinesOnlyFromTheThreshold) {
    EXPECT_FALSE(KSLogTrimmer::trimmedText(numberedLines(5000)));
    EXPECT_FALSE(KSLogTrimmer::trimmedText(numberedLines(5000, false)));
    EXPECT_FALSE(KSLogTrimmer::trimmedText(""));

    auto cut = KSLogTrimmer::trimmedText(numberedLines(5001));
    ASSERT_TRUE(cut);
    EXPECT_EQ(KSLogTrimmer::lineCount(*cut), 4000u);
    EXPECT_EQ(cut->substr(0, 10), "line 1002\n");
    EXPECT_EQ(cut->substr(cut->size() - 10), "line 5001\n");

    auto unclosed = KSLogTrimmer::trimmedText(numberedLines(5001, false));
    ASSERT_TRUE(unclosed);
    EXPECT_EQ(unclosed->substr(0, 10), "line 1002\n");
    EXPECT_EQ(unclosed->substr(unclosed->size() - 9), "line 5001");
}

// Bytes that are no UTF-8 must not make the log unreadable and so never cut.
TEST(KSLogTrimmerTests, ALogWithInvalidUTF8IsCutAllTheSame) {
    std::string text = "\xff\xfe broken\n" + numberedLines(5000);
    auto cut = KSLogTrimmer::trimmedText(text);
    ASSERT_TRUE(cut);
    EXPECT_EQ(KSLogTrimmer::lineCount(*cut), 4000u);
    EXPECT_EQ(cut->substr(0, 10), "line 1001\n");

    std::string invalidKept = numberedLines(4500) + "\xc3\x28 tail\n" + numberedLines(600);
    auto kept = KSLogTrimmer::trimmedText(invalidKept);
    ASSERT_TRUE(kept);
    EXPECT_NE(kept->find("\xc3\x28 tail\n"), std::string::npos);
}

TEST(KSLogTrimmerTests, TheFileIsReplacedOnlyWhenItIsTooLong) {
    testing_support::TempDeviceRoot root;
    const auto path = root.path() + "/corvane.log";
    writeWhole(path, numberedLines(5000));
    EXPECT_FALSE(KSLogTrimmer::trimLogFile(path));
    EXPECT_EQ(readWhole(path), numberedLines(5000));

    writeWhole(path, numberedLines(6000));
    EXPECT_TRUE(KSLogTrimmer::trimLogFile(path));
    EXPECT_EQ(KSLogTrimmer::lineCount(readWhole(path)), 4000u);

    EXPECT_FALSE(KSLogTrimmer::trimLogFile(root.path() + "/missing.log"));
}

// The children of these death tests leave with _Exit: the streams are line-buffered, so every
// line is in the file already, and the leak checker that exit() would run sees the allocations
// of threads that earlier tests started and that the child does not have.
TEST(KSLogFileTests, AFirstStartMakesTheLogFolderAndTheStreamsOpenANewFile) {
    testing_support::TempDeviceRoot root;
    ASSERT_TRUE(KSLogFile::prepare());
    EXPECT_TRUE(std::filesystem::is_directory(KSPaths::logDirectory()));
    EXPECT_FALSE(std::filesystem::exists(KSPaths::logFile()));

    EXPECT_EXIT(
        {
            KSLogFile::redirectStandardStreams();
            std::fputs("to the error stream\n", stderr);
            std::fputs("to the output stream\n", stdout);
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(readWhole(KSPaths::logFile()), "to the error stream\nto the output stream\n");
}

// The process writes into the log from its first moment on: a cut made afterwards (as a
// background trim would) could drop those lines or the cut itself.
TEST(KSLogFileTests, AnOversizedLogIsCutBeforeAnythingIsWrittenToIt) {
    testing_support::TempDeviceRoot root;
    writeWhole(KSPaths::logFile(), numberedLines(5001));

    EXPECT_EXIT(
        {
            if (!KSLogFile::prepare())
                std::_Exit(1);
            KSLogFile::redirectStandardStreams();
            std::fputs("first line of this run\n", stderr);
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");

    auto log = readWhole(KSPaths::logFile());
    EXPECT_EQ(KSLogTrimmer::lineCount(log), 4001u);
    EXPECT_EQ(log.substr(0, 10), "line 1002\n");
    EXPECT_EQ(log.substr(log.size() - 33), "line 5001\nfirst line of this run\n");
}

TEST(KSLogFileTests, ALogFolderThatCannotBeMadeIsAnError) {
    testing_support::TempDeviceRoot root;
    writeWhole(root.dataPath() + "/var/mobile/Library", "a file where a folder goes");
    auto prepared = KSLogFile::prepare();
    ASSERT_FALSE(prepared);
    EXPECT_NE(prepared.error().localizedDescription().find(KSPaths::logDirectory()),
              std::string::npos)
        << prepared.error().localizedDescription();
}

}  // namespace
}  // namespace corvane::testing
