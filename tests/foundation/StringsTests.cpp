#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "foundation/Strings.h"

using namespace foundation;

TEST(Strings, PathHelpersHandleSlashesDotsAndRoot) {
    EXPECT_EQ(lastPathComponent("/tmp/scratch.tiff"), "scratch.tiff");
    EXPECT_EQ(lastPathComponent("/tmp/lock///"), "lock");
    EXPECT_EQ(lastPathComponent("/"), "/");
    EXPECT_EQ(lastPathComponent("///"), "/");
    EXPECT_EQ(lastPathComponent("name"), "name");
    EXPECT_EQ(lastPathComponent(""), "");

    EXPECT_EQ(pathExtension("/tmp/archive.tar.gz"), "gz");
    EXPECT_EQ(pathExtension("/home/.profile"), "");
    EXPECT_EQ(pathExtension("name."), "");
    EXPECT_EQ(pathExtension("/a.d/file"), "") << "a dot in a folder name is no extension";
    EXPECT_EQ(pathExtension("/tmp/icon.png/"), "png");

    EXPECT_EQ(deletingLastPathComponent("/tmp/scratch.tiff"), "/tmp");
    EXPECT_EQ(deletingLastPathComponent("/tmp/lock/"), "/tmp");
    EXPECT_EQ(deletingLastPathComponent("/tmp"), "/");
    EXPECT_EQ(deletingLastPathComponent("/"), "/");
    EXPECT_EQ(deletingLastPathComponent("file"), "");

    EXPECT_EQ(deletingPathExtension("/tmp/archive.tar.gz"), "/tmp/archive.tar");
    EXPECT_EQ(deletingPathExtension("/a.d/file"), "/a.d/file");
    EXPECT_EQ(deletingPathExtension(".profile"), ".profile");
    EXPECT_EQ(deletingPathExtension("name..deb"), "name.");

    EXPECT_EQ(appendingPathComponent("/tmp", "a.txt"), "/tmp/a.txt");
    EXPECT_EQ(appendingPathComponent("/tmp//", "/a.txt"), "/tmp/a.txt");
    EXPECT_EQ(appendingPathComponent("/", "a.txt"), "/a.txt");
    EXPECT_EQ(appendingPathComponent("", "a.txt"), "a.txt");
    EXPECT_EQ(appendingPathExtension("/tmp/icon/", "png"), "/tmp/icon.png");
    EXPECT_EQ(appendingPathExtension("/", "png"), "/");

    EXPECT_EQ(pathComponents("/var//lib/dpkg/"),
              (std::vector<std::string>{"/", "var", "lib", "dpkg"}));
    EXPECT_EQ(pathComponents("a/b"), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(pathLiesWithin("/a/device/var", "/a/device/"));
    EXPECT_TRUE(pathLiesWithin("/a/device", "/a/device"));
    EXPECT_FALSE(pathLiesWithin("/a/device-data", "/a/device")) << "a sibling sharing a prefix";
    EXPECT_FALSE(pathLiesWithin("/a", "/a/device"));
}

TEST(Strings, SafeFileNamesRejectEverythingThatLeavesTheFolder) {
    EXPECT_TRUE(isSafeFileName("package.deb"));
    EXPECT_TRUE(isSafeFileName("..hidden"));
    EXPECT_FALSE(isSafeFileName(""));
    EXPECT_FALSE(isSafeFileName("."));
    EXPECT_FALSE(isSafeFileName(".."));
    EXPECT_FALSE(isSafeFileName("../etc"));
    EXPECT_FALSE(isSafeFileName("/etc"));
    EXPECT_FALSE(isSafeFileName(std::string("a\0b", 3)));
}

TEST(Strings, SplitReplaceAndTrimKeepEmptyPartsAndUnicodeSpace) {
    EXPECT_EQ(split("a,,b,", ","), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(split("", ","), (std::vector<std::string>{""}));
    EXPECT_EQ(split("a::b", "::"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(replace("aaa", "aa", "b"), "ba");
    EXPECT_EQ(replace("a b c", " ", "+"), "a+b+c");
    EXPECT_EQ(replace("abc", "", "x"), "abc");

    EXPECT_EQ(trimmed("\u00A0 \t two words\r\n\u2028"), "two words");
    EXPECT_EQ(trimmed(" \n "), "");
    EXPECT_EQ(trimmed("\xFF x"), "\xFF x") << "invalid bytes are content, not space";
}

TEST(Strings, CaseMappingIsUnicodeAwareAndCapitalizesEachWord) {
    EXPECT_EQ(lowercase("ÉCOLE Ünd"), "école ünd");
    EXPECT_EQ(uppercase("straße"), "STRASSE");
    EXPECT_EQ(capitalized("hELLO wORLD"), "Hello World");
    EXPECT_EQ(capitalized("élan VITAL\tnew-age"), "Élan Vital\tNew-Age");
}

TEST(Strings, FoldingFollowsCaseAndDiacriticModifiers) {
    EXPECT_TRUE(caseAndDiacriticInsensitiveEquals("Café", "cafe"));
    EXPECT_TRUE(caseAndDiacriticInsensitiveEquals("Cafe\u0301", "CAFÉ")) << "decomposed accent";
    EXPECT_FALSE(caseInsensitiveEquals("Café", "cafe"));
    EXPECT_TRUE(caseInsensitiveEquals("STRASSE", "straße"));
    EXPECT_NE(compare("Café", "cafe", kDiacriticInsensitive), 0) << "[d] alone keeps case";
    EXPECT_EQ(compare("Café", "Cafe", kDiacriticInsensitive), 0);
    EXPECT_LT(compare("apple", "Banana", kCaseInsensitive), 0);
    EXPECT_GT(compare("apple", "Banana"), 0) << "exact order puts upper case first";

    EXPECT_TRUE(containsIgnoringCaseAndDiacritics("Crème Brûlée Tweak", "BRULEE"));
    EXPECT_FALSE(containsIgnoringCase("Crème Brûlée", "BRULEE"));
    EXPECT_TRUE(containsIgnoringCase("Crème Brûlée", "BRÛL"));
}

TEST(Strings, FirstCharacterIsAWholeGrapheme) {
    EXPECT_EQ(firstCharacter("👍🏽 great"), "👍🏽");
    EXPECT_EQ(firstCharacter("🇫🇷🇩🇪"), "🇫🇷");
    EXPECT_EQ(firstCharacter("😀"), "😀");
    EXPECT_EQ(firstCharacter("e\u0301tude"), "e\u0301");
    EXPECT_EQ(firstCharacter("abc"), "a");
    EXPECT_EQ(firstCharacter(""), "");
    EXPECT_EQ(firstCharacter("\xF0\x9F"), "\uFFFD") << "a cut sequence becomes a replacement";
}

TEST(Strings, Utf8ValidationRefusesEveryMalformedSequence) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("Gr\u00FC\u00DFe \U0001F1EB\U0001F1F7"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF")) << "an overlong slash";
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80")) << "a lone surrogate";
    EXPECT_FALSE(isValidUtf8("abc\xE2\x82")) << "a sequence cut at the end";
    EXPECT_FALSE(isValidUtf8("a\x80z")) << "a stray continuation byte";
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80")) << "beyond U+10FFFF";
}

TEST(Strings, NumbersAreReadLeniently) {
    EXPECT_EQ(integerValue("12abc"), 12);
    EXPECT_EQ(integerValue("abc"), 0);
    EXPECT_EQ(integerValue("  -42 "), -42);
    EXPECT_EQ(integerValue("+7"), 7);
    EXPECT_EQ(integerValue("99999999999999999999"), INT64_MAX);
    EXPECT_EQ(integerValue("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(integerValue("-99999999999999999999"), INT64_MIN);

    EXPECT_DOUBLE_EQ(doubleValue("3.5kg"), 3.5);
    EXPECT_DOUBLE_EQ(doubleValue(" .5"), 0.5);
    EXPECT_DOUBLE_EQ(doubleValue("-1e3x"), -1000);
    EXPECT_DOUBLE_EQ(doubleValue("2e"), 2);
    EXPECT_DOUBLE_EQ(doubleValue("+1.25"), 1.25);
    EXPECT_EQ(doubleValue("-"), 0);
    EXPECT_EQ(doubleValue("."), 0);
    EXPECT_EQ(doubleValue("nan"), 0);
    EXPECT_TRUE(std::isinf(doubleValue("1e999")));
    EXPECT_EQ(doubleValue("1e-999"), 0);
}

TEST(Strings, PercentEncodingRoundTripsAndRejectsBrokenInput) {
    std::string text = "a b/c?d=é&e+f%🎉";
    for (auto set : {PercentEncoding::URLQuery, PercentEncoding::PathComponent,
                     PercentEncoding::QueryItem, PercentEncoding::Unreserved})
        EXPECT_EQ(percentDecode(percentEncode(text, set)), text);

    EXPECT_EQ(percentEncode("a b/c?d=é", PercentEncoding::URLQuery), "a%20b/c?d=%C3%A9");
    EXPECT_EQ(percentEncode("a b/c?d", PercentEncoding::PathComponent), "a%20b%2Fc%3Fd");
    EXPECT_EQ(percentEncode(std::string("\0", 1), PercentEncoding::URLQuery), "%00");
    // A query item's "&", "=", "+" and "#" would split, end or change the query.
    EXPECT_EQ(percentEncode("a&b=c+d#e/f?g:h", PercentEncoding::QueryItem),
              "a%26b%3Dc%2Bd%23e/f?g:h");
    EXPECT_EQ(percentEncode("a b/c?d=e&f~g.h-i_j*", PercentEncoding::Unreserved),
              "a%20b%2Fc%3Fd%3De%26f~g.h-i_j%2A");

    EXPECT_EQ(percentDecode("%c3%A9"), "é");
    EXPECT_EQ(percentDecode("plain"), "plain");
    EXPECT_EQ(percentDecode("%zz"), std::nullopt);
    EXPECT_EQ(percentDecode("100%"), std::nullopt);
    EXPECT_EQ(percentDecode("%4"), std::nullopt);
    EXPECT_EQ(percentDecode("%FF"), std::nullopt) << "not UTF-8";
    EXPECT_EQ(percentDecode("%C0%AF"), std::nullopt) << "overlong slash";
}
