#include "framework/debian/VersionCompare.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/RunCommand.h"
#include "framework/debian/VersionRelation.h"

namespace corvane {
namespace {

struct OrderedPair {
    const char* a;
    const char* b;
    int expected;  // sign of a compared with b
};

// Cases where a naive comparison goes wrong; every one is also put to the real dpkg.
constexpr OrderedPair kHardCases[] = {
    {"1.0", "1.0", 0},
    {"1.0~rc1", "1.0", -1},
    {"1.0~", "1.0", -1},
    {"1.0~~", "1.0~", -1},
    {"1.0~~a", "1.0~~", 1},
    {"1.0~beta", "1.0~alpha", 1},
    {"1.0-1~bpo1", "1.0-1", -1},
    {"0.9", "0.9~", 1},
    {"1:0", "2", 1},
    {"2:1.0", "10:0.1", -1},
    {"0:1.0", "1.0", 0},
    {"00:1.0", "1.0", 0},
    {"1:1.0-1", "1.0-1", 1},
    {"1.0-1", "1.0", 1},
    {"1.0-0", "1.0", 0},
    {"1.0-1", "1.0-1.1", -1},
    {"1.0-2-1", "1.0-2", 1},
    {"1.0-1-1", "1.0-1.1", 1},
    {"1.0.", "1.0.0", 0},
    {"1.0.0+1", "1.0.0-1", 1},
    {"3.0-2ubuntu1", "3.0-2", 1},
    {"1.0-1", "1.0-a", -1},
    {"1.0a", "1.0", 1},
    {"1.0a", "1.0+", -1},
    {"1.0a", "1.0.1", -1},
    {"1.0", "1.0+b1", -1},
    {"1a", "1A", 1},
    {"1.01", "1.1", 0},
    {"1.001", "1.1", 0},
    {"1.0", "1.00", 0},
    {"1.10", "1.9", 1},
    {"9", "10", -1},
    {"2.0", "10.0", -1},
    {"1.2.3", "1.2.3.0", -1},
    {"1.0+git20200101", "1.0+git20191231", 1},
    {"1.18446744073709551616", "1.18446744073709551615", 1},
    {"1.000000000000000000000000001", "1.1", 0},
    {"1.2~b2", "1.2~b10", -1},
    {" 1.0 ", "1.0", 0},
    {"", "0", -1},
    {"", "0~", -1},
    {"", "", 0},
};

int sign(int value) {
    return (value > 0) - (value < 0);
}

bool dpkgSays(const std::string& a, const std::string& relation, const std::string& b) {
    const auto result = testing::runCommand({"dpkg", "--compare-versions", a, relation, b});
    EXPECT_TRUE(result.exitStatus == 0 || result.exitStatus == 1)
        << a << " " << relation << " " << b << ": " << result.errors;
    return result.exitStatus == 0;
}

TEST(VersionCompare, AgreesWithTheTableAndWithDpkgOnHardCases) {
    for (const auto& pair : kHardCases) {
        SCOPED_TRACE(std::string("\"") + pair.a + "\" vs \"" + pair.b + "\"");
        EXPECT_EQ(sign(compareVersions(pair.a, pair.b)), pair.expected);
        EXPECT_EQ(sign(compareVersions(pair.b, pair.a)), -pair.expected);
        EXPECT_EQ(greaterThan(pair.a, pair.b), pair.expected > 0);
        EXPECT_EQ(dpkgSays(pair.a, "lt", pair.b), pair.expected < 0);
        EXPECT_EQ(dpkgSays(pair.a, "eq", pair.b), pair.expected == 0);
        EXPECT_EQ(dpkgSays(pair.a, "gt", pair.b), pair.expected > 0);
    }
}

TEST(VersionCompare, GivesATotalOrderToTextThatIsNoVersion) {
    // dpkg refuses these; the order must still be consistent so that sorting never misbehaves.
    const char* malformed[] = {
        "a:1.0", "1.0:1", ":1", "1.0-", "-", "~", "abc", "1:", "99999999999999999999:1"};
    for (const char* a : malformed) {
        EXPECT_EQ(compareVersions(a, a), 0) << a;
        for (const char* b : malformed)
            EXPECT_EQ(sign(compareVersions(a, b)), -sign(compareVersions(b, a))) << a << " " << b;
    }
    EXPECT_GT(compareVersions("99999999999999999999:1", "18446744073709551615:1"), 0);
}

TEST(VersionRelation, ReadsOperatorsAsDpkgDoes) {
    const char* operators[] = {"=", ">>", ">=", "<<", "<=", ">", "<"};
    const OrderedPair pairs[] = {{"1.0", "1.0", 0}, {"1.0", "1.1", -1}, {"1:0.1", "2.0", 1}};
    for (const char* op : operators) {
        const auto relation = relationFromOperator(op);
        ASSERT_TRUE(relation.has_value()) << op;
        for (const auto& pair : pairs) {
            EXPECT_EQ(satisfiesRelation(pair.a, *relation, pair.b), dpkgSays(pair.a, op, pair.b))
                << pair.a << " " << op << " " << pair.b;
        }
    }
    EXPECT_FALSE(relationFromOperator("").has_value());
    EXPECT_FALSE(relationFromOperator("==").has_value());
    EXPECT_FALSE(relationFromOperator("gt").has_value());
}

TEST(VersionRelation, CodesMatchTheStoredNumbers) {
    EXPECT_EQ(static_cast<int>(VersionRelation::Equal), 0);
    EXPECT_EQ(static_cast<int>(VersionRelation::Greater), 1);
    EXPECT_EQ(static_cast<int>(VersionRelation::GreaterOrEqual), 2);
    EXPECT_EQ(static_cast<int>(VersionRelation::Less), 3);
    EXPECT_EQ(static_cast<int>(VersionRelation::LessOrEqual), 4);
    EXPECT_EQ(static_cast<int>(VersionRelation::Any), 5);
    EXPECT_TRUE(satisfiesRelation("1.0", VersionRelation::Any, "9:9"));
    EXPECT_TRUE(satisfiesRelation("", VersionRelation::Any, "1.0"));
    EXPECT_FALSE(satisfiesRelation("1.0", static_cast<VersionRelation>(9), "1.0"));
}

}  // namespace
}  // namespace corvane
