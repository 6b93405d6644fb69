// The installed files of a package as dpkg recorded them on the device root, drawn as a tree.
#include "screens/packages/InstalledFilesViewController.h"

#include <gtest/gtest.h>

#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "foundation/Strings.h"
#include "framework/apt/KSStatusFileSync.h"
#include "screens/PageScreenFixture.h"

namespace corvane::testing {
namespace {

using foundation::FileManager;

class InstalledFilesTest : public PageScreenFixture {
  protected:
    // dpkg's own record of the package: installed, with its file list.
    static void installWithFiles(const std::string& identifier, const std::string& fileList) {
        write("/var/lib/dpkg/status",
              "Package: " + identifier + "\nStatus: install ok installed\nVersion: 1.0\n\n");
        write("/var/lib/dpkg/info/" + identifier + ".list", fileList);
        KSStatusFileSync::synchronise();
    }
    static void write(const std::string& devicePath, const std::string& text) {
        const auto path = foundation::DeviceRoot::resolve(devicePath);
        ASSERT_TRUE(FileManager::createDirectory(foundation::deletingLastPathComponent(path)));
        ASSERT_TRUE(FileManager::writeAtomically(path, text).ok());
    }

    std::shared_ptr<InstalledFilesViewController> open(const std::string& identifier) {
        KSScreenFactory::Request request;
        request.packageIdentifier = identifier;
        return push<InstalledFilesViewController>(Screen::installedFiles, request);
    }

    // The rows' texts from top to bottom, each scrolled into sight.
    static std::vector<std::string> rows(InstalledFilesViewController& screen) {
        auto& table = *screen.installedFilesTableView;
        std::vector<std::string> texts;
        for (int row = 0; row < table.numberOfRowsInSection(0); ++row) {
            const auto indexPath = uikit::IndexPath::forRow(row, 0);
            table.scrollToRowAtIndexPath(indexPath, uikit::TableView::ScrollPosition::none, false);
            auto cell = table.cellForRowAtIndexPath(indexPath);
            EXPECT_TRUE(cell) << row;
            if (cell)
                texts.push_back(cell->textLabel()->text().value_or("<none>"));
        }
        table.setContentOffset({0, -table.adjustedContentInset().top});
        return texts;
    }
};

TEST_F(InstalledFilesTest, ListsThePathsDpkgRecordedIndentedByDepth) {
    installWithFiles("com.sample.tweak",
                     "/.\n/Library\n/Library/MobileSubstrate\n"
                     "/Library/MobileSubstrate/DynamicLibraries\n"
                     "/Library/MobileSubstrate/DynamicLibraries/x.plist\n/usr/lib/\n"
                     "/usr/lib/x.dylib\nnot-a-path\n");
    auto screen = open("com.sample.tweak");
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->title(), "Installed Files");
    EXPECT_TRUE(screen->tasksProgressBar->isHidden());
    EXPECT_TRUE(screen->overrideLargeTitles());
    EXPECT_EQ(rows(*screen),
              (std::vector<std::string>{"/Library", "\t/MobileSubstrate", "\t\t/DynamicLibraries",
                                        "\t\t\t/x.plist", "\t\t/lib", "\t\t/x.dylib", ""}));

    auto cell =
        screen->installedFilesTableView->cellForRowAtIndexPath(uikit::IndexPath::forRow(3, 0));
    ASSERT_TRUE(cell && screen->palette());
    EXPECT_EQ(cell->textLabel()->font().pointSize(), InstalledFilesViewController::kFontSize);
    EXPECT_EQ(cell->textLabel()->numberOfLines(), 0);
    EXPECT_EQ(cell->selectionStyle(), uikit::TableViewCell::SelectionStyle::none);
    EXPECT_EQ(cell->backgroundColor(), screen->palette()->cellBackgroundColor());
    EXPECT_EQ(cell->textLabel()->textColor(), screen->palette()->primaryTextColor());
    snapshot("installed-files");
}

TEST_F(InstalledFilesTest, ThePackageIsReadOnceWhenTheScreenLoads) {
    installWithFiles("com.sample.tweak", "/usr\n/usr/bin\n");
    auto screen = open("com.sample.tweak");
    ASSERT_TRUE(screen);
    change("com.sample.tweak", [](KSRPackage& package) { package.installedFiles = {"/etc"}; });
    screen->installedFilesTableView->reloadData();
    EXPECT_EQ(rows(*screen), (std::vector<std::string>{"/usr", "\t/bin"}));
}

TEST_F(InstalledFilesTest, APackageWithoutFilesOrRecordShowsAnEmptyList) {
    auto notInstalled = open("com.sample.theme");
    ASSERT_TRUE(notInstalled);
    EXPECT_EQ(notInstalled->installedFilesTableView->numberOfRowsInSection(0), 0);
    auto unknown = open("com.sample.nothing");
    ASSERT_TRUE(unknown);
    EXPECT_FALSE(unknown->package());
    EXPECT_EQ(unknown->installedFilesTableView->numberOfRowsInSection(0), 0);
}

}  // namespace
}  // namespace corvane::testing
