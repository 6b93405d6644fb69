// A template of the "Errors" table is text from a resource: it is filled by position, and one
// that asks for more than there is, or for anything but objects, is never used as a format.
#include "app/completion/KSTaskErrorText.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(KSTaskErrorTextTest, OnlyTemplatesOfObjectsThatFitTheArgumentsAreFilled) {
    EXPECT_EQ(KSTaskErrorText::objectArgumentCount("No package"), 0u);
    EXPECT_EQ(KSTaskErrorText::objectArgumentCount("\"%@\" failed"), 1u);
    EXPECT_EQ(KSTaskErrorText::objectArgumentCount("100%% of %@"), 1u);
    EXPECT_EQ(KSTaskErrorText::objectArgumentCount("%@ needs %@"), 2u);
    EXPECT_EQ(KSTaskErrorText::objectArgumentCount("%2$@ before %1$@"), 2u);
    for (const char* hostile : {"%s", "%d items", "%n", "%x%x%x", "50%", "%0$@", "%9999$@"})
        EXPECT_EQ(KSTaskErrorText::objectArgumentCount(hostile), std::nullopt) << hostile;

    // 307's template names the package; without one the fallback names the code.
    EXPECT_EQ(KSTaskErrorText::textForCode(307, {foundation::Value("com.example.a")}),
              "\"com.example.a\" is not offered by any of your sources.");
    EXPECT_EQ(KSTaskErrorText::textForCode(307, {}), KSTaskErrorText::fallbackText(307));
    EXPECT_NE(KSTaskErrorText::fallbackText(307).find("#307"), std::string::npos);
}

TEST(KSTaskErrorTextTest, OnlyOwnErrorsWithoutDescriptionAreRebuilt) {
    foundation::Error own{KSTaskErrorText::kDomain, 306,
                          foundation::Dictionary{{"packageID", "a.b"}}};
    auto rebuilt = KSTaskErrorText::describedError(own);
    EXPECT_EQ(rebuilt.domain, own.domain);
    EXPECT_EQ(rebuilt.code, 306);
    EXPECT_EQ(rebuilt.userInfo["packageID"], "a.b");
    EXPECT_EQ(rebuilt.localizedDescription(),
              "The download of \"a.b\" does not match its checksum.");

    auto described = foundation::Error::make(KSTaskErrorText::kDomain, 306, "Checksum differs");
    EXPECT_EQ(KSTaskErrorText::describedError(described), described);
    foundation::Error foreign{"NSURLErrorDomain", 306, {}};
    EXPECT_EQ(KSTaskErrorText::describedError(foreign), foreign);

    auto unexplained = KSTaskErrorText::errorOfFailure(foundation::Value::null());
    EXPECT_EQ(unexplained.domain, KSTaskErrorText::kDomain);
    EXPECT_EQ(unexplained.code, KSTaskErrorText::kUnexplainedFailure);
}

}  // namespace
}  // namespace corvane
