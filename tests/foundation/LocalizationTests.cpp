#include <gtest/gtest.h>

#include <cstdlib>

#include "foundation/Bundle.h"
#include "foundation/FileManager.h"
#include "foundation/Localization.h"
#include "support/TempDeviceRoot.h"

using namespace foundation;
using testing_support::TempDeviceRoot;

namespace {

// Resources in a fresh folder, whose string tables are read when first used.
class Resources {
  public:
    Resources() { setenv("MAIN_BUNDLE_RESOURCES", folder_.path().c_str(), 1); }
    ~Resources() { unsetenv("MAIN_BUNDLE_RESOURCES"); }
    void write(const std::string& name, std::string_view text) {
        ASSERT_TRUE(FileManager::writeAtomically(folder_.path() + "/" + name, text));
    }
    const std::string& path() const { return folder_.path(); }

  private:
    TempDeviceRoot folder_;
};

}  // namespace

TEST(Localization, ParsesEscapesCommentsAndBareWords) {
    auto table = parseStringsTable(R"(/* header */
        // line comment
        "Tab\t\"quoted\"" = "Line\nbreak \\ \101 \U00e9 \UD83D\UDE00";
        bare_key = bare.value;
        "Empty" = "";)");
    ASSERT_TRUE(table);
    EXPECT_EQ(table->at("Tab\t\"quoted\""), "Line\nbreak \\ A é 😀");
    EXPECT_EQ(table->at("bare_key"), "bare.value");
    EXPECT_EQ(table->at("Empty"), "");
    EXPECT_EQ(parseStringsTable(" /* only a comment */ ")->size(), 0u);

    for (const char* broken :
         {R"("a" = "b")", R"("a" = "b)", R"("a" "b";)", "/* open", R"("a" = "\UD83D";)",
          R"("a" = "\UZZZZ";)", R"("a" = "\400";)", R"(= "b";)", R"("a" = "b"; ;)"})
        EXPECT_FALSE(parseStringsTable(broken)) << broken;
}

TEST(Localization, MissingKeysAndCodesFallBack) {
    Resources resources;
    resources.write("Localizable.strings", R"("Queue" = "Warteschlange"; "Untranslated" = "";
        "An unknown error occurred (%ld)." = "Unbekannter Fehler (%ld).";)");
    resources.write("Errors.strings", R"("12" = "\"%@\" failed.";)");
    EXPECT_EQ(localized("Queue"), "Warteschlange");
    EXPECT_EQ(localized("Untranslated"), "Untranslated");
    EXPECT_EQ(localized("Never heard of"), "Never heard of");
    EXPECT_EQ(localizedError(12), "\"%@\" failed.");
    EXPECT_EQ(localizedError(77), "Unbekannter Fehler (77).");
    EXPECT_EQ(localizedError(-3, "Error #%ld, %@"), "Error #-3, ");
}

TEST(Localization, MalformedTableIsEmptyAndLogged) {
    Resources resources;
    resources.write("Localizable.strings", R"("Queue" = "Warteschlange)");
    testing::internal::CaptureStderr();
    EXPECT_EQ(localized("Queue"), "Queue");
    EXPECT_EQ(localizedError(5), "An unknown error occurred (5).") << "no Errors table at all";
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("(*** Corvane 5 ***) "), std::string::npos);
    EXPECT_NE(log.find(resources.path() + "/Localizable.strings"), std::string::npos);
}

TEST(Localization, ShippedTablesParse) {
    for (const char* name : {"Localizable.strings", "Errors.strings"}) {
        auto text = FileManager::readText(std::string(MAIN_BUNDLE_RESOURCES_DIR) + "/" + name);
        ASSERT_TRUE(text) << name;
        EXPECT_TRUE(parseStringsTable(*text)) << name;
    }
}

TEST(Bundle, FindsResourcesOnlyInsideItsFolder) {
    EXPECT_EQ(Bundle::resourcesPath(), MAIN_BUNDLE_RESOURCES_DIR);
    Resources resources;
    EXPECT_EQ(Bundle::resourcesPath(), resources.path());
    resources.write("Settings.plist",
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\">"
                    "<dict><key>title</key><string>Settings</string></dict></plist>");
    ASSERT_TRUE(FileManager::createDirectory(resources.path() + "/Folder.plist"));
    EXPECT_EQ(Bundle::pathForResource("Settings", "plist"), resources.path() + "/Settings.plist");
    EXPECT_EQ(Bundle::pathForResource("Settings.plist"), resources.path() + "/Settings.plist");
    EXPECT_EQ(Bundle::pathForResource("Account", "plist"), std::nullopt);
    EXPECT_EQ(Bundle::pathForResource("Folder", "plist"), std::nullopt);
    EXPECT_EQ(Bundle::pathForResource("../Settings", "plist"), std::nullopt);
    EXPECT_EQ(Bundle::pathForResource("", ""), std::nullopt);

    auto settings = Bundle::plistResource("Settings");
    ASSERT_TRUE(settings) << settings.error().localizedDescription();
    EXPECT_EQ((*settings)["title"].stringValue(), "Settings");
    auto account = Bundle::plistResource("Account");
    ASSERT_FALSE(account);
    EXPECT_NE(account.error().localizedDescription().find("Account.plist"), std::string::npos);
}

TEST(Bundle, FindsResourcesInAFolderButNeverOutsideTheResources) {
    Resources resources;
    ASSERT_TRUE(FileManager::createDirectory(resources.path() + "/Assets/Player"));
    resources.write("Assets/page.html", "<p>page</p>");
    resources.write("Assets/Player/frame.html", "<p>frame</p>");
    resources.write("secret.html", "<p>secret</p>");

    EXPECT_EQ(Bundle::pathForResource("page", "html", "Assets"),
              resources.path() + "/Assets/page.html");
    EXPECT_EQ(Bundle::pathForResource("frame", "html", "Assets/Player"),
              resources.path() + "/Assets/Player/frame.html");
    EXPECT_EQ(Bundle::pathForResource("page", "html", ""), std::nullopt) << "not at the top";
    EXPECT_EQ(Bundle::pathForResource("secret", "html", "Assets/.."), std::nullopt);
    EXPECT_EQ(Bundle::pathForResource("secret", "html", ".."), std::nullopt);
    EXPECT_EQ(Bundle::pathForResource("page", "html", "Assets//"), std::nullopt);
    EXPECT_EQ(Bundle::pathForResource("../secret", "html", "Assets"), std::nullopt);
    EXPECT_EQ(Bundle::pathForResource("Player", "", "Assets"), std::nullopt) << "a folder";
}
