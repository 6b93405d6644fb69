#include <gtest/gtest.h>

#include "framework/tasks/KSAPTFileNames.h"

namespace corvane {
namespace {

// The names apt-get itself gave these files when it fetched them.
TEST(KSAPTFileNamesTests, NamesFilesAsAptDoes) {
    EXPECT_EQ(KSAPTFileNames::listFileName("http://127.0.0.1:18765/", "Packages"),
              "127.0.0.1:18765_._Packages");
    EXPECT_EQ(KSAPTFileNames::listFileName("http://127.0.0.1:18765/sub/my_repo~x/", "Release"),
              "127.0.0.1:18765_sub_my%5frepo%7ex_._Release");
    EXPECT_EQ(KSAPTFileNames::listFileName("https://repo.example.org", "Packages"),
              "repo.example.org_._Packages");
    EXPECT_EQ(KSAPTFileNames::archiveFileName("com.Sample.Upper", "1:1.0", "iphoneos-arm"),
              "com.sample.upper_1%3a1.0_iphoneos-arm.deb");
    // Nothing of a location can make a name climb out of its folder.
    EXPECT_EQ(KSAPTFileNames::listFileName("https://host/../x/", "Packages").find('/'),
              std::string::npos);
}

}  // namespace
}  // namespace corvane
