// The source page as a person reads it on a refreshed sample repository and on a repository
// that fails, and the page that adds a source: typing an address, approving plain http, and the
// refusals of an address that is already a source or no address at all.
#include "screens/sources/SourceViewController.h"

#include <gtest/gtest.h>

#include "framework/storage/KSDatabase.h"
#include "screens/KSScreens.h"
#include "screens/sources/SourcesFixture.h"
#include "ui/cells/PackageCell.h"
#include "uikit/AlertController.h"
#include "uikit/InterfaceHands.h"

namespace corvane {
namespace {

using Names = std::vector<std::string>;
using testing_support::advanceClock;
using testing_support::pumpUntil;

class SourceViewControllerTest : public testing::SourcesFixture {
  protected:
    std::shared_ptr<SourceViewController> openPage(std::optional<std::string> location) {
        auto page = std::make_shared<SourceViewController>();
        page->setSourceLocation(std::move(location));
        return show(page);
    }

    // The package names a person reads scrolling down the page.
    static Names shownNames(SourceViewController& page) {
        auto& table = *page.sourceTableView;
        Names names;
        for (int row = 0; row < table.numberOfRowsInSection(0); ++row) {
            const auto indexPath = uikit::IndexPath::forRow(row, 0);
            table.scrollToRowAtIndexPath(indexPath, uikit::TableView::ScrollPosition::none, false);
            auto cell =
                std::dynamic_pointer_cast<PackageCell>(table.cellForRowAtIndexPath(indexPath));
            names.push_back(cell ? cell->nameLbl->text().value_or("") : "(no cell)");
        }
        table.setContentOffset({0, 0});
        return names;
    }

    // Types the address into the page's field and taps "Add Source", or sends it with the
    // keyboard's return key. The form is used without finding it on screen: the translucent bar
    // covers the top of the table until the platform insets content below the bars.
    void add(SourceViewController& page, const std::string& address, bool returnKey = false) {
        page.addressField->setText("");
        ASSERT_TRUE(page.addressField->typeText(address));
        if (returnKey)
            page.addressField->pressReturn();
        else
            page.addBtn->sendActions(uikit::ControlEvent::touchUpInside);
        advanceClock(0);
    }

    std::shared_ptr<uikit::AlertController> shownAlert() const {
        return std::dynamic_pointer_cast<uikit::AlertController>(
            window->topmostPresentedViewController());
    }

    static std::size_t storedSources() { return realm().allObjects<KSRSource>().count(); }
};

const Names kSampleNames{"Broken Dependency",      "Conflicting Tweak", "Core Library",
                         "Native Depiction Tweak", "Night Sky Theme",   "Premium Widget",
                         "Sample Tweak",           "Versioned Utility", "Web Depiction Tweak"};

TEST_F(SourceViewControllerTest, ShowsTheSourceWithItsPackagesByNameAndOpensOne) {
    storeAndRefresh(location);
    waitUntilAtRest();
    auto page = openPage(location);

    EXPECT_EQ(page->title(), "Sample Repository");
    EXPECT_EQ(page->nameLbl->text(), "Sample Repository");
    EXPECT_EQ(page->locationLbl->text(), location);
    EXPECT_EQ(page->descriptionLbl->text(), "A few small packages to try the package manager with");
    EXPECT_EQ(page->stateLbl->text().value_or("").rfind("Refreshed ", 0), 0u)
        << page->stateLbl->text().value_or("");
    EXPECT_GT(page->stateLbl->frame().minY(), page->descriptionLbl->frame().maxY() - 1)
        << "the state reads below the description";
    EXPECT_EQ(shownNames(*page), kSampleNames);
    EXPECT_EQ(page->titleForHeaderInSection(*page->sourceTableView, 0), "9 Packages");

    const auto coreLibrary = uikit::IndexPath::forRow(2, 0);
    ASSERT_TRUE(uikit::hands::selectRow(page->sourceTableView, coreLibrary));
    advanceClock(1);
    EXPECT_EQ(openedPackages, (Names{"com.sample.corelib"}));
    EXPECT_EQ(navigation->viewControllers().size(), 3u) << "the package page is pushed";
}

TEST_F(SourceViewControllerTest, ASourceThatAsksForTheOriginalDepictionsOpensThemFromItsRows) {
    storeAndRefresh(location);
    waitUntilAtRest();
    auto database = realm();
    database.write([&] {
        auto source = database.objectForPrimaryKey<KSRSource>(location).value();
        source.seeOriginalDepictions = true;
        database.addOrUpdateObject(source);
    });
    auto page = openPage(location);
    ASSERT_EQ(shownNames(*page), kSampleNames);

    ASSERT_TRUE(uikit::hands::selectRow(page->sourceTableView, uikit::IndexPath::forRow(8, 0)));
    advanceClock(1);
    EXPECT_EQ(openedWebDepictions, (Names{location + "depictions/html.html"}));
    EXPECT_TRUE(openedPackages.empty());
    navigation->pop(false);
    advanceClock(1);

    // A package without a web address of its own still opens its page.
    ASSERT_TRUE(uikit::hands::selectRow(page->sourceTableView, uikit::IndexPath::forRow(2, 0)));
    advanceClock(1);
    EXPECT_EQ(openedPackages, (Names{"com.sample.corelib"}));
    EXPECT_EQ(openedWebDepictions.size(), 1u);
}

TEST_F(SourceViewControllerTest, FollowsARefreshAndShowsWhyItFailed) {
    const auto held = heldLocation("held");
    auto database = realm();
    database.write([&] { database.addObject(KSRSource{.location = held}); });
    auto page = openPage(held);
    // A repository that has not named itself goes by its address.
    EXPECT_EQ(page->title(), held.substr(7, held.size() - 8));
    EXPECT_EQ(page->locationLbl->text(), held);
    EXPECT_EQ(page->stateLbl->text(), "Never refreshed");

    KSPackageEngineHooks::refreshSources({held});
    ASSERT_TRUE(pumpUntil([&] { return page->stateLbl->text() == "Refreshing…"; }));

    gate.open();
    waitUntilAtRest();
    advanceClock(0);
    const auto source = database.objectForPrimaryKey<KSRSource>(held);
    ASSERT_TRUE(source && source->hasErrors && source->errorDescription);
    EXPECT_EQ(page->stateLbl->text(), source->errorDescription);
    EXPECT_EQ(page->stateLbl->textColor(), uikit::Color::systemRed());
    EXPECT_TRUE(shownNames(*page).empty());
    EXPECT_EQ(page->titleForHeaderInSection(*page->sourceTableView, 0), std::nullopt);
}

TEST_F(SourceViewControllerTest,
       TheFactoryOpensTheSourceOrTheEmptyPageWithACloseButtonWhenPresented) {
    registerScreens();
    KSScreenFactory::Request request;
    request.sourceLocation = location;
    request.isPresented = true;
    auto page = std::dynamic_pointer_cast<SourceViewController>(
        KSScreenFactory::make(KSScreenFactory::Screen::sourcePage, request));
    ASSERT_TRUE(page);
    EXPECT_EQ(page->sourceLocation(), location);
    navigation->present(uikit::NavigationController::create(page), false);
    advanceClock(1);
    auto close = page->navigationItem()->leftBarButtonItem();
    ASSERT_TRUE(close);
    EXPECT_EQ(close->title(), "Close");
    ASSERT_TRUE(uikit::hands::tapBarButton(close));
    advanceClock(1);
    EXPECT_EQ(navigation->presentedViewController(), nullptr);

    auto empty = std::dynamic_pointer_cast<SourceViewController>(
        KSScreenFactory::make(KSScreenFactory::Screen::sourcePage));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->sourceLocation(), std::nullopt);
    EXPECT_FALSE(empty->isPresented());
    show(empty);
    EXPECT_EQ(empty->title(), "Add Source");
    EXPECT_EQ(empty->navigationItem()->leftBarButtonItem(), nullptr);
    EXPECT_EQ(empty->sourceTableView->tableHeaderView(), empty->addSourceView);
}

TEST_F(SourceViewControllerTest, AnAddressTypedIsAddedOncePlainHttpIsApprovedAndTheSourceShown) {
    auto page = openPage(std::nullopt);
    // As a person would type it: without the closing slash.
    add(*page, location.substr(0, location.size() - 1), true);
    EXPECT_TRUE(page->isAdding());
    EXPECT_FALSE(page->addBtn->isEnabled());
    auto approval = shownAlert();
    ASSERT_TRUE(approval);
    EXPECT_EQ(approval->title(), "Add Source");
    EXPECT_EQ(approval->message(),
              "This repository uses an insecure connection (http). Add it only if you trust it.");
    EXPECT_EQ(storedSources(), 0u) << "nothing is added before the person agrees";

    ASSERT_TRUE(uikit::hands::pickAlertAction(approval, "Add"));
    advanceClock(1);
    ASSERT_TRUE(pumpUntil([&] { return !page->isAdding(); }, 60));
    EXPECT_EQ(page->sourceLocation(), location);
    EXPECT_EQ(page->title(), "Sample Repository");
    EXPECT_EQ(page->messageLbl->text(), "");
    EXPECT_EQ(page->sourceTableView->tableHeaderView(), page->sourceHeaderView);
    waitUntilAtRest();
    advanceClock(0);
    EXPECT_EQ(shownNames(*page), kSampleNames);
}

TEST_F(SourceViewControllerTest, AnAddressRefusedOrNotApprovedAddsNothingAndARefusalSaysWhy) {
    auto page = openPage(std::nullopt);
    add(*page, "ftp://repo.example.org/");
    EXPECT_EQ(page->messageLbl->text(), "This is not a valid repository address.");
    EXPECT_EQ(page->messageLbl->textColor(), uikit::Color::systemRed());
    EXPECT_EQ(shownAlert(), nullptr);
    EXPECT_TRUE(page->addBtn->isEnabled());

    add(*page, location);
    auto approval = shownAlert();
    ASSERT_TRUE(approval);
    ASSERT_TRUE(uikit::hands::pickAlertAction(approval, "Cancel"));
    advanceClock(1);
    EXPECT_FALSE(page->isAdding());
    EXPECT_EQ(page->messageLbl->text(), "");
    EXPECT_EQ(storedSources(), 0u);

    storeAndRefresh(location);
    waitUntilAtRest();
    // The same repository over https is the same source.
    add(*page, "https" + location.substr(4));
    EXPECT_EQ(page->messageLbl->text(), "This repository has already been added.");
    EXPECT_EQ(page->sourceLocation(), std::nullopt);
    EXPECT_EQ(storedSources(), 1u);
}

}  // namespace
}  // namespace corvane
