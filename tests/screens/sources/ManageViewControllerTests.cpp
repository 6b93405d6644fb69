// The sources tab's root as a person uses it: the configured sources with what each row tells,
// a row opening its source's page, and the add button offering an address copied to the
// pasteboard before the empty page.
#include "screens/sources/ManageViewController.h"

#include <gtest/gtest.h>

#include "framework/storage/KSRPackage.h"
#include "screens/sources/SourcesFixture.h"
#include "uikit/AlertController.h"
#include "uikit/InterfaceHands.h"
#include "uikit/Pasteboard.h"

namespace corvane {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;

class ManageViewControllerTest : public testing::SourcesFixture {
  protected:
    void SetUp() override {
        SourcesFixture::SetUp();
        manage = show(std::make_shared<ManageViewController>());
    }

    std::shared_ptr<SourcesCell> row(int index) {
        const auto indexPath = uikit::IndexPath::forRow(index, 0);
        manage->sourcesTableView->scrollToRowAtIndexPath(
            indexPath, uikit::TableView::ScrollPosition::none, false);
        return std::dynamic_pointer_cast<SourcesCell>(
            manage->sourcesTableView->cellForRowAtIndexPath(indexPath));
    }

    // The screen on top of the sources tab, once the push has played.
    std::shared_ptr<SourceViewController> sourcePageOnTop() {
        advanceClock(1);
        return std::dynamic_pointer_cast<SourceViewController>(navigation->topViewController());
    }

    void tapAdd() {
        ASSERT_TRUE(uikit::hands::tapBarButton(manage->navigationItem()->rightBarButtonItem()));
        advanceClock(1);
    }

    std::shared_ptr<uikit::AlertController> shownAlert() const {
        return std::dynamic_pointer_cast<uikit::AlertController>(
            window->topmostPresentedViewController());
    }

    static void copy(std::optional<std::string> text) {
        uikit::Pasteboard::general().setString(std::move(text));
    }

    std::shared_ptr<ManageViewController> manage;
};

TEST_F(ManageViewControllerTest, ListsTheSourcesByNameWithWhatTheyHoldAndOpensTheirPages) {
    storeAndRefresh(location);
    waitUntilAtRest();
    auto database = realm();
    database.write([&] {
        auto core = database.objectForPrimaryKey<KSRPackage>("com.sample.corelib");
        ASSERT_TRUE(core);
        core->isInstalled = true;
        database.addOrUpdateObject(*core);
        database.addObject(
            KSRSource{.location = "https://another.example/", .name = "Another Source"});
    });
    const auto held = heldLocation("held");
    storeAndRefresh(held);
    advanceClock(0);

    EXPECT_EQ(manage->title(), "Sources");
    ASSERT_EQ(manage->sources(),
              (std::vector<std::string>{held, "https://another.example/", location}));
    // A repository that has not named itself goes by its address.
    EXPECT_EQ(row(0)->nameLbl->text(), held.substr(7, held.size() - 8));
    EXPECT_EQ(row(0)->descriptionLbl->text(), held);
    EXPECT_EQ(row(0)->lastRepoRegenLbl->text(), "Refreshing…");
    auto another = row(1);
    ASSERT_TRUE(another);
    EXPECT_EQ(another->nameLbl->text(), "Another Source");
    EXPECT_EQ(another->descriptionLbl->text(), "https://another.example/");
    EXPECT_EQ(another->installedPackagesLbl->text(), "0 Installed");
    EXPECT_EQ(another->totalPackagesLbl->text(), "0 Packages");
    EXPECT_EQ(another->lastRepoRegenLbl->text(), "Never");
    auto sample = row(2);
    ASSERT_TRUE(sample);
    EXPECT_EQ(sample->nameLbl->text(), "Sample Repository");
    EXPECT_EQ(sample->installedPackagesLbl->text(), "1 Installed");
    EXPECT_EQ(sample->totalPackagesLbl->text(), "9 Packages");
    EXPECT_EQ(sample->sourceLocation(), location);
    for (const auto& fact :
         {sample->installedPackagesLbl, sample->totalPackagesLbl, sample->lastRepoRegenLbl})
        EXPECT_LE(fact->sizeThatFits({1e6, 1e6}).width, fact->frame().width())
            << "cut short: " << fact->text().value_or("");

    gate.open();
    waitUntilAtRest();
    advanceClock(0);
    EXPECT_EQ(row(0)->lastRepoRegenLbl->text(), "Failed");
    EXPECT_EQ(row(0)->lastRepoRegenLbl->textColor(), uikit::Color::systemRed());

    ASSERT_TRUE(uikit::hands::selectRow(manage->sourcesTableView, uikit::IndexPath::forRow(2, 0)));
    auto page = sourcePageOnTop();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->sourceLocation(), location);
    EXPECT_FALSE(page->isPresented());
    EXPECT_EQ(page->navigationItem()->leftBarButtonItem(), nullptr);
}

TEST_F(ManageViewControllerTest, TheAddButtonOffersACopiedAddressAndAddsIt) {
    copy("The repository at " + location + " has my tweaks.");
    tapAdd();
    auto offer = shownAlert();
    ASSERT_TRUE(offer);
    EXPECT_EQ(offer->title(), "Add Source");
    EXPECT_EQ(offer->message(),
              "Would you like to add the source " + location + " from the clipboard?");
    std::vector<std::string> titles;
    for (const auto& action : offer->actions())
        titles.push_back(action->title());
    EXPECT_EQ(titles, (std::vector<std::string>{"Add", "Enter Another", "Cancel"}));

    ASSERT_TRUE(uikit::hands::pickAlertAction(offer, "Add"));
    auto page = sourcePageOnTop();
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->isAdding());
    EXPECT_EQ(page->addressField->text(), location);
    auto approval = shownAlert();
    ASSERT_TRUE(approval) << "a plain http repository is approved first";
    ASSERT_TRUE(uikit::hands::pickAlertAction(approval, "Add"));
    advanceClock(1);
    ASSERT_TRUE(pumpUntil([&] { return !page->isAdding(); }, 60));
    EXPECT_EQ(page->sourceLocation(), location);

    navigation->pop(false);
    advanceClock(1);
    EXPECT_EQ(manage->sources(), (std::vector<std::string>{location}));
    // Now that it is a source, the same address is offered no more.
    tapAdd();
    EXPECT_EQ(shownAlert(), nullptr);
    ASSERT_TRUE(sourcePageOnTop());
}

TEST_F(ManageViewControllerTest, WithoutANewAddressCopiedTheAddButtonOpensTheEmptyPage) {
    auto opensEmptyPage = [&](std::optional<std::string> copied) {
        copy(std::move(copied));
        tapAdd();
        EXPECT_EQ(shownAlert(), nullptr);
        auto page = sourcePageOnTop();
        ASSERT_TRUE(page);
        EXPECT_EQ(page->sourceLocation(), std::nullopt);
        EXPECT_EQ(page->title(), "Add Source");
        EXPECT_FALSE(page->isAdding());
        navigation->pop(false);
        advanceClock(1);
    };
    opensEmptyPage(std::nullopt);
    opensEmptyPage("no address here");
    opensEmptyPage("ftp://files.example.org/");
    auto database = realm();
    database.write([&] { database.addObject(KSRSource{.location = "https://stored.example/"}); });
    opensEmptyPage("http://stored.example");

    copy("https://new.example/repo");
    tapAdd();
    auto offer = shownAlert();
    ASSERT_TRUE(offer);
    ASSERT_TRUE(uikit::hands::pickAlertAction(offer, "Enter Another"));
    auto page = sourcePageOnTop();
    ASSERT_TRUE(page);
    EXPECT_FALSE(page->isAdding());
    EXPECT_EQ(page->addressField->text(), "");
    EXPECT_EQ(realm().allObjects<KSRSource>().count(), 1u);
}

}  // namespace
}  // namespace corvane
