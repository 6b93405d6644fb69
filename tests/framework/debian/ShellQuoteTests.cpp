#include "framework/debian/ShellQuote.h"

#include <gtest/gtest.h>

#include <fstream>

#include "framework/RunCommand.h"

namespace corvane {
namespace {

// The shell must hand every word back exactly as it was, whatever it holds, and run nothing.
TEST(ShellQuoteTests, ShellReadsEveryWordLiterally) {
    const std::vector<std::string> words = {
        "plain", "two words", "it's",        "'",     "''", "$(touch /tmp/corvane-quote-marker)",
        "`id`",  "a;b|c&d",   "\\",          "\"",    "*",  "~",
        "-n",    "",          "line\nbreak", "$HOME", "!"};
    const auto result = testing::runCommand(
        {"sh", "-c",
         "for word in " + ShellQuote::join(words) + "; do printf '[%s]' \"$word\"; done"});
    std::string expected;
    for (const auto& word : words)
        expected += "[" + word + "]";
    EXPECT_EQ(result.output, expected);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_FALSE(std::ifstream("/tmp/corvane-quote-marker").good());
}

}  // namespace
}  // namespace corvane
