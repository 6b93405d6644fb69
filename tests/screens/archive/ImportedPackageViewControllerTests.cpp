// An archive handed over by another application, as a person sees and answers it: read from a
// private copy with dpkg-deb on a temporary device root, installed with dpkg, or cancelled.
#include "screens/archive/ImportedPackageViewController.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "foundation/FileManager.h"
#include "framework/StorageFixture.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSInboxArchive.h"
#include "framework/apt/KSRootCommandRunner.h"
#include "framework/debian/ShellQuote.h"
#include "framework/tasks/KSPipelineManager.h"
#include "screens/KSScreens.h"
#include "screens/ScreenServices.h"
#include "screens/tasks/TasksVerboseViewController.h"
#include "support/CommandMarker.h"
#include "support/MainLoop.h"
#include "support/SampleRepository.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/InterfaceHands.h"
#include "uikit/NavigationController.h"
#include "uikit/Screen.h"
#include "uikit/TableViewCell.h"
#include "uikit/Window.h"

namespace corvane::testing {
namespace {

using foundation::FileManager;
using testing_support::advanceClock;
using testing_support::CommandMarker;
using testing_support::pumpUntil;
namespace fs = std::filesystem;

class ImportedPackageViewControllerTests : public StorageFixture {
  protected:
    static void SetUpTestSuite() { sample_ = new testing_support::SampleRepository(); }
    static void TearDownTestSuite() {
        delete sample_;
        sample_ = nullptr;
    }

    void SetUp() override {
        StorageFixture::SetUp();
        previousScreen_ = uikit::Screen::main().bounds();
        uikit::Screen::main().setBounds({0, 0, 375, 667});
        ASSERT_TRUE(KSAPTManager::createAPTSandboxIfNeeded());
        registerScreens();
        KSApplicationServices::registerServices(services_);
        window_->setRootViewController(home_);
        window_->makeKeyAndVisible();
    }
    void TearDown() override {
        window_->setRootViewController(nullptr);
        advanceClock(1);
        EXPECT_TRUE(CommandMarker::noCommandRan()) << "a file name ran a command";
        uikit::Screen::main().setBounds(previousScreen_);
        StorageFixture::TearDown();
    }

    // A folder of this machine that another application leaves files in.
    std::string documents() const { return root_.scratchPath("Documents") + "/"; }
    // The file as another application leaves it; its path, as its file URL names it.
    std::string handOver(const std::string& from, const std::string& name) const {
        const auto path = documents() + name;
        EXPECT_TRUE(FileManager::createDirectory(documents()));
        EXPECT_TRUE(FileManager::copyItem(from, path));
        return path;
    }
    static std::string sampleArchive(const std::string& name) {
        return (sample_->folder() / "debs" / (name + ".deb")).string();
    }
    // An archive whose control text nobody checked.
    std::string uncheckedArchive(const std::string& control) const {
        const auto folder = root_.scratchPath("build");
        EXPECT_TRUE(FileManager::createDirectory(folder + "/DEBIAN"));
        EXPECT_TRUE(FileManager::writeAtomically(folder + "/DEBIAN/control", control));
        const auto archive = root_.scratchPath("unchecked.deb");
        const auto built = KSRootCommandRunner::run(ShellQuote::join(std::vector<std::string>{
            "dpkg-deb", "--nocheck", "--root-owner-group", "--build", folder, archive}));
        EXPECT_TRUE(built.succeeded()) << built.output;
        return archive;
    }

    // Opened as the application opens a handed-over file, and read.
    std::shared_ptr<ImportedPackageViewController> open(const std::string& devicePath) {
        KSScreenFactory::Request request;
        request.archivePath = devicePath;
        auto screen = std::dynamic_pointer_cast<ImportedPackageViewController>(
            KSScreenFactory::make(KSScreenFactory::Screen::importedArchive, request));
        EXPECT_TRUE(screen);
        if (!screen)
            return nullptr;
        window_->topmostPresentedViewController()->present(
            uikit::NavigationController::create(screen), true);
        advanceClock(1);
        EXPECT_TRUE(
            pumpUntil([&] { return screen->data()["title"].isString() || isError(*screen); }));
        advanceClock(1);
        return screen;
    }
    static bool isError(const ImportedPackageViewController& screen) {
        return screen.dataSource().size() == 1 && screen.dataSource()[0]["rows"].count() == 2 &&
               screen.dataSource()[0]["rows"][1]["subtitleColor"].isString();
    }

    // The texts of every row, as a person reads them down the screen.
    static std::vector<std::string> rows(ImportedPackageViewController& screen) {
        std::vector<std::string> texts;
        auto& table = *screen.tableView();
        for (int section = 0; section < table.numberOfSections(); ++section) {
            for (int row = 0; row < table.numberOfRowsInSection(section); ++row) {
                auto cell = screen.cellForRowAtIndexPath(table, {section, row});
                std::string text = cell->textLabel()->text().value_or("");
                const auto detail = cell->detailTextLabel();
                const auto subtitle = detail ? detail->text().value_or("") : "";
                if (!subtitle.empty())
                    text += (text.empty() ? "" : ": ") + subtitle;
                texts.push_back(text);
            }
        }
        return texts;
    }
    static bool inboxIsEmpty() {
        auto names = FileManager::contentsOfDirectory(KSInboxArchive::inboxDirectory());
        return !names || names->empty();
    }
    std::string deviceStatus() const {
        return FileManager::readText(root_.resolve("/var/lib/dpkg/status")).valueOr("");
    }

    static inline testing_support::SampleRepository* sample_ = nullptr;
    std::shared_ptr<uikit::Window> window_ = std::make_shared<uikit::Window>();
    std::shared_ptr<uikit::ViewController> home_ = std::make_shared<uikit::ViewController>();
    std::shared_ptr<ScreenServices> services_ = std::make_shared<ScreenServices>(window_);

  private:
    uikit::Rect previousScreen_;
};

TEST_F(ImportedPackageViewControllerTests, AnArchiveShowsItsFieldsAndInstallsFromItsCopy) {
    // Handed over while another screen is up: everything shows over that one.
    auto covering = std::make_shared<uikit::ViewController>();
    home_->present(covering, false);
    advanceClock(1);
    const auto handed = handOver(sampleArchive("core-lib"), CommandMarker::hostileName("a b.deb"));
    auto screen = open(handed);
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->title(), "Core Library");
    const auto shown = rows(*screen);
    ASSERT_EQ(shown.size(), 11u);
    EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + 4),
              (std::vector<std::string>{"Package Info", "Package: com.sample.corelib",
                                        "Name: Core Library", "Version: 1.0.2"}));
    EXPECT_EQ(shown[5], "Maintainer: Ada Sample <ada@sample.test>");
    EXPECT_EQ(shown[8],
              "Description: Shared code that the sample tweaks load\n"
              "A small library package that other packages depend on.");
    EXPECT_EQ(shown[9], "Raw Info");
    EXPECT_EQ(shown[10].substr(0, 37), "Control: Package: com.sample.corelib\n");
    EXPECT_EQ(screen->tableView()->separatorStyle(), uikit::TableView::SeparatorStyle::singleLine);
    ASSERT_TRUE(screen->installButton()->isEnabled());
    EXPECT_EQ(screen->installButton()->displayText(), "Install");
    EXPECT_EQ(screen->cancelButton()->displayText(), "Cancel");

    ASSERT_TRUE(uikit::hands::tapBarButton(screen->installButton()));
    const auto tasks = KSPipelineManager::sharedManager().tasksArray();
    ASSERT_EQ(tasks.size(), 1u) << "queued at once, before anything else is shown";
    EXPECT_EQ(tasks[0]->taskDescription(), "Installing com.sample.corelib");
    EXPECT_FALSE(screen->installButton()->isEnabled()) << "one install per tap";

    ASSERT_TRUE(
        pumpUntil([&] { return KSPipelineManager::sharedManager().tasksArray().empty(); }, 60));
    advanceClock(1);
    auto presented =
        std::dynamic_pointer_cast<uikit::NavigationController>(covering->presentedViewController());
    ASSERT_TRUE(presented);
    auto console =
        std::dynamic_pointer_cast<TasksVerboseViewController>(presented->topViewController());
    ASSERT_TRUE(console);
    const auto heard = console->consoleText().string();
    EXPECT_NE(heard.find("Setting up com.sample.corelib"), std::string::npos)
        << "the console hears the install from its start\n"
        << heard;
    const auto status = deviceStatus();
    EXPECT_NE(status.find("Package: com.sample.corelib\nStatus: install ok installed"),
              std::string::npos)
        << status;
    // The task leaves the list before its finished notification reaches the main thread.
    EXPECT_TRUE(pumpUntil([&] { return inboxIsEmpty(); }, 10))
        << "the copy goes once the install has finished";
    EXPECT_TRUE(FileManager::fileExists(handed)) << "the handed-over file stays";
}

TEST_F(ImportedPackageViewControllerTests, CancelRemovesTheCopyAndNeverTheHandedOverFile) {
    const auto handed = handOver(sampleArchive("theme"), CommandMarker::hostileName("theme.deb"));
    auto screen = open(handed);
    ASSERT_TRUE(screen);
    EXPECT_FALSE(inboxIsEmpty()) << "read from a copy of its own";
    ASSERT_TRUE(uikit::hands::tapBarButton(screen->cancelButton()));
    advanceClock(1);
    EXPECT_FALSE(home_->presentedViewController());
    EXPECT_TRUE(inboxIsEmpty());
    EXPECT_TRUE(FileManager::fileExists(handed));
    EXPECT_TRUE(KSPipelineManager::sharedManager().tasksArray().empty());
    EXPECT_EQ(deviceStatus().find("com.sample.theme"), std::string::npos);

    // Closed before the archive was read: the copy made meanwhile goes too.
    KSScreenFactory::Request request;
    request.archivePath = handed;
    auto early = KSScreenFactory::make(KSScreenFactory::Screen::importedArchive, request);
    home_->present(uikit::NavigationController::create(early), false);
    EXPECT_EQ(rows(*std::static_pointer_cast<ImportedPackageViewController>(early)),
              std::vector<std::string>{"Loading Package Info"});
    std::static_pointer_cast<ImportedPackageViewController>(early)->dismiss();
    early.reset();
    advanceClock(1);
    ASSERT_TRUE(pumpUntil([] { return inboxIsEmpty(); }));
    EXPECT_TRUE(FileManager::fileExists(handed));
}

TEST_F(ImportedPackageViewControllerTests,
       AnArchiveThatCannotBeReadShowsOneErrorRowWithoutInstall) {
    auto damaged = FileManager::readFile(sampleArchive("theme")).valueOr({});
    damaged.resize(damaged.size() / 2);
    ASSERT_TRUE(FileManager::createDirectory(documents()));
    ASSERT_TRUE(FileManager::writeAtomically(documents() + "cut short.deb", damaged));
    for (const std::string& name : {std::string("cut short.deb"), std::string("missing.deb")}) {
        auto screen = open(documents() + name);
        ASSERT_TRUE(screen) << name;
        const auto shown = rows(*screen);
        ASSERT_EQ(shown.size(), 2u) << name;
        EXPECT_EQ(shown[0], "Package Info");
        EXPECT_EQ(shown[1].rfind("This package cannot be read: ", 0), 0u) << shown[1];
        EXPECT_NE(shown[1].find(name), std::string::npos) << "named as it was handed over";
        EXPECT_EQ(shown[1].find(KSInboxArchive::inboxDirectory()), std::string::npos) << shown[1];
        EXPECT_FALSE(screen->installButton()->isEnabled());
        screen->dismiss();
        advanceClock(1);
    }
    EXPECT_TRUE(inboxIsEmpty());
}

TEST_F(ImportedPackageViewControllerTests, OnlyAValidNameOtherThanTheApplicationsOwnIsInstallable) {
    const auto own =
        handOver(uncheckedArchive("Package: Me.Kestrune.Corvane\nVersion: 5.0\nArchitecture: all\n"
                                  "Maintainer: K <k@example.org>\nDescription: itself\n"),
                 "own.deb");
    auto screen = open(own);
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->title(), "Me.Kestrune.Corvane")
        << "no Name: titled by its identifier, which dpkg folds to the application's own";
    const auto shown = rows(*screen);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[0], "Warnings");
    EXPECT_EQ(shown[1],
              "Corvane cannot be installed using the Open In method, please install "
              "from the official repo");
    auto warning = screen->cellForRowAtIndexPath(*screen->tableView(), {0, 1});
    EXPECT_EQ(warning->detailTextLabel()->textColor(),
              uikit::Color(1.0, 0x45 / 255.0, 0x3A / 255.0));
    EXPECT_FALSE(screen->installButton()->isEnabled());
    screen->dismiss();
    advanceClock(1);

    const auto hostile = handOver(
        uncheckedArchive("Package: com.example.$(reboot)\nVersion: 1.0\nArchitecture: all\n"
                         "Maintainer: K <k@example.org>\nDescription: hostile\n"),
        "hostile.deb");
    screen = open(hostile);
    ASSERT_TRUE(screen);
    EXPECT_EQ(rows(*screen)[1], "Package: com.example.$(reboot)");
    EXPECT_FALSE(screen->installButton()->isEnabled());
    screen->install();
    EXPECT_TRUE(KSPipelineManager::sharedManager().tasksArray().empty());
}

}  // namespace
}  // namespace corvane::testing
