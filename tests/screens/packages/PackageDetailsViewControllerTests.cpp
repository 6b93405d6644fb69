// The package page as a person opens it from a list: the labels of the stored package, the Get
// button and its queue state, the description, the sections shown for what is known, and the
// navigation bar it leaves behind.
#include "screens/packages/PackageDetailsViewController.h"

#include <gtest/gtest.h>

#include "foundation/ByteCountFormatter.h"
#include "foundation/NotificationCenter.h"
#include "framework/packagemanager/KSKnownRepositories.h"
#include "framework/storage/KSRNotifications.h"
#include "screens/packages/PackagePageFixture.h"
#include "ui/palette/KSPaletteManager.h"
#include "uikit/Hands.h"
#include "uikit/InterfaceHands.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;

double getWidth(const std::string& title) {
    return uikit::Font::boldSystemFont(13).sizeOfText(title).width +
           PackageDetailsViewController::kGetButtonPadding;
}

class PackageDetailsTest : public PackagePageFixture {};

TEST_F(PackageDetailsTest, LabelsShowTheStoredPackageAndItsSource) {
    change("com.sample.tweak", [](KSRPackage& package) {
        package.isInstalled = true;
        package.installedVersion = "1.1";
        package.isUpdated = true;
        package.size = "2048";
        package.minosversion = "12.0";
        package.dependencies = {"com.sample.corelib", "firmware", "com.sample.corelib"};
    });
    auto page = open("com.sample.tweak");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->header().nameLbl->text(), "Sample Tweak");
    EXPECT_EQ(page->header().authorLbl->text(), "Ada Sample");
    EXPECT_EQ(page->header().packageVersionLbl->text(), "1.1") << "the installed version";
    EXPECT_EQ(page->header().packageCategoryLbl->text(), "Tweaks");
    EXPECT_EQ(page->information().packageSizeLbl->text(),
              foundation::ByteCountFormatter::stringFromByteCount(2048));
    EXPECT_EQ(page->information().compatibilityLbl->text(), "Minimum OS");
    EXPECT_EQ(page->information().packageCompatibilityLbl->text(), "iOS 12.0");
    EXPECT_EQ(page->information().packageDependenciesLbl->text(),
              "com.sample.corelib\nfirmware\ncom.sample.corelib")
        << "an entry equal to the last one keeps its line";
    EXPECT_EQ(page->information().packageConflictsLbl->text(), "No conflicts");
    EXPECT_EQ(page->information().packagePostInstallActionLbl->text(), "Nothing");
    EXPECT_EQ(page->repository().repositoryNameLbl->text(), kSourceName);
    EXPECT_EQ(page->repository().repositoryDescriptionLbl->text(),
              "Packages to try the program with");
    EXPECT_EQ(page->moreByDeveloper().moreDevPackagesTitle->text(), "More by Ada Sample");
    EXPECT_EQ(page->moreByDeveloper().copyrightLbl->text(), "\u00A9 Ada Sample \ncom.sample.tweak");
    EXPECT_EQ(page->header().ratingLbl->text(), "0 out of 5 rating");
    EXPECT_TRUE(page->header().verifiedIconView->isHidden());
    EXPECT_FALSE(page->information().installedFilesBtn->isHidden());
    EXPECT_EQ(page->information().installedFilesBtn->currentTitleColor(), page->view()->tintColor())
        << "readable on the page, not white on white";

    // A package whose source went away, one only dpkg knows, and one not stored at all.
    change("com.sample.theme", [](KSRPackage& package) {
        package.sourceLocation = "https://gone.example.org/";
        package.version.reset();
    });
    change("com.sample.paid", [](KSRPackage& package) {
        package.sourceLocation = "DPKG";
        package.maintainer.reset();
        package.contact = "Widget Maker <widgets@example.org>";
        package.isInstalled = true;
        package.installedVersion = "";
    });
    auto removed = open("com.sample.theme");
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->repository().repositoryNameLbl->text(), "Removed Source");
    EXPECT_EQ(removed->repository().repositoryDescriptionLbl->text(),
              "The source of this package has been removed");
    EXPECT_EQ(removed->header().packageVersionLbl->text(), "None");
    EXPECT_TRUE(removed->information().installedFilesBtn->isHidden());
    auto dpkg = open("com.sample.paid");
    ASSERT_TRUE(dpkg);
    EXPECT_EQ(dpkg->repository().repositoryNameLbl->text(), "DPKG");
    EXPECT_EQ(dpkg->header().authorLbl->text(), "Widget Maker <widgets@example.org>");
    EXPECT_EQ(dpkg->moreByDeveloper().moreDevPackagesTitle->text(),
              "More by Widget Maker <widgets@example.org>");
    EXPECT_EQ(dpkg->header().packageVersionLbl->text(), "1.0")
        << "no installed version: the available one";
    auto unknown = open("com.sample.unknown");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->header().authorLbl->text(), "No dev name found");
    EXPECT_EQ(unknown->information().packageDependenciesLbl->text(), "No dependencies");
    EXPECT_EQ(unknown->header().getBtn->titleForState(uikit::ControlStates::normal), "GET");
}

TEST_F(PackageDetailsTest, TheGetButtonFollowsTheQueueTheInstallAndTheStore) {
    auto page = open("com.sample.theme");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->header().getBtn->currentTitle(), "GET");
    EXPECT_EQ(page->getBarBtn()->currentTitle(), "GET");
    EXPECT_DOUBLE_EQ(page->header().getBtnWidthConstraint->constant(), getWidth("GET"));
    EXPECT_DOUBLE_EQ(page->header().getBtn->frame().width(), getWidth("GET"))
        << "placed at its width";

    // Installed, held with an update: removing is what a tap offers.
    change("com.sample.theme", [](KSRPackage& package) {
        package.isInstalled = true;
        package.isUpdated = true;
        package.isHeld = true;
    });
    page->updateGetButtonTitle();
    EXPECT_EQ(page->header().getBtn->currentTitle(), "UNINSTALL");

    // The store calls it unavailable, but it is installed: it can still be removed.
    page->model().setPackageInfo(false, false, std::nullopt);
    EXPECT_EQ(page->header().getBtn->currentTitle(), "UNINSTALL");
    EXPECT_TRUE(page->header().getBtn->isEnabled());
    advanceClock(1);
    EXPECT_DOUBLE_EQ(page->header().getBtn->alpha(), 1);

    // Queued wins over installed.
    ASSERT_TRUE(uikit::hands::tap(page->header().getBtn));
    EXPECT_EQ(services->queued, std::vector<std::string>{"com.sample.theme"});
    advanceClock(0);
    advanceClock(0);
    EXPECT_EQ(page->header().getBtn->currentTitle(), "QUEUED");
    EXPECT_DOUBLE_EQ(page->header().getBtnWidthConstraint->constant(), getWidth("QUEUED"));

    // A paid package the store says is owned, and one it says is unavailable.
    auto paid = open("com.sample.paid");
    ASSERT_TRUE(paid);
    paid->model().setPackageInfo(true, true, "$1.99");
    EXPECT_EQ(paid->header().getBtn->currentTitle(), "OWNED");
    paid->model().setPackageInfo(false, false, "$1.99");
    EXPECT_EQ(paid->header().getBtn->currentTitle(), "UNAVAILABLE");
    EXPECT_FALSE(paid->header().getBtn->isEnabled());
    EXPECT_FALSE(paid->getBarBtn()->isEnabled());
    advanceClock(1);
    EXPECT_DOUBLE_EQ(paid->header().getBtn->alpha(), 0.5);
    uikit::hands::tap(paid->header().getBtn);
    EXPECT_EQ(services->queued.size(), 1u) << "a refused button queues nothing";

    // Moving the header into the bar and back keeps the refused button dimmed.
    paid->transitionTopContent(true);
    advanceClock(1);
    EXPECT_DOUBLE_EQ(paid->getBarBtn()->alpha(), 0.5);
    paid->transitionTopContent(false);
    advanceClock(1);
    EXPECT_DOUBLE_EQ(paid->header().getBtn->alpha(), 0.5);
    EXPECT_DOUBLE_EQ(paid->getBarBtn()->alpha(), 0);
}

TEST_F(PackageDetailsTest, OnlyThisPackagesQueueStateRetitlesTheButtonOnTheNextTurn) {
    auto page = open("com.sample.corelib");
    ASSERT_TRUE(page);
    change("com.sample.corelib", [](KSRPackage& package) { package.isInTheQueue = true; });
    auto& center = foundation::NotificationCenter::defaultCenter();
    center.post(KSRQueueStateNotificationName("com.sample.tweak"));
    advanceClock(0);
    EXPECT_EQ(page->header().getBtn->currentTitle(), "GET")
        << "another package's news changes nothing";

    center.post(KSRQueueStateNotificationName("com.sample.corelib"));
    EXPECT_EQ(page->header().getBtn->currentTitle(), "GET") << "not inside the post";
    advanceClock(0);
    EXPECT_EQ(page->header().getBtn->currentTitle(), "QUEUED");
}

TEST_F(PackageDetailsTest, EveryAppearanceRereadsTheStoredPackage) {
    change("com.sample.theme", [](KSRPackage& package) { package.maxosversion = "15.0"; });
    auto page = open("com.sample.theme");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->header().packageVersionLbl->text(), "3.1");
    EXPECT_EQ(page->information().compatibilityLbl->text(), "Maximum OS");
    navigation->push(std::make_shared<uikit::ViewController>(), true);
    advanceClock(1);
    change("com.sample.theme", [](KSRPackage& package) {
        package.isInstalled = true;
        package.installedVersion = "3.0";
        package.isUpdated = true;
        package.minosversion = "12.0";
    });
    navigation->pop(true);
    advanceClock(1);
    settle(*page);
    EXPECT_EQ(page->header().packageVersionLbl->text(), "3.0");
    EXPECT_EQ(page->header().getBtn->currentTitle(), "UPDATE");
    EXPECT_FALSE(page->information().installedFilesBtn->isHidden()) << "installed now";
    EXPECT_EQ(page->information().compatibilityLbl->text(), "Compatibility");
    EXPECT_EQ(page->information().packageCompatibilityLbl->text(), "iOS 12.0 - 15.0");
}

TEST_F(PackageDetailsTest, AMarkdownDescriptionKeepsItsTextButNoHostileLink) {
    changeSource([](KSRSource& source) { source.isUsingInfoJson = true; }, location);
    change("com.sample.tweak", [](KSRPackage& package) {
        package.Description =
            "# Sample\n\nTap [here](javascript:alert(1)) or [there](https://example.org/x) now";
    });
    auto page = open("com.sample.tweak");
    ASSERT_TRUE(page);
    const auto& text = page->description().descriptionLbl->attributedText();
    EXPECT_NE(text.string().find("Tap here or there now"), std::string::npos) << text.string();
    ASSERT_EQ(text.links().size(), 1u);
    EXPECT_EQ(text.links()[0].second, "https://example.org/x");
    EXPECT_GT(page->description().descriptionLbl->frame().height(), 30)
        << "placed at the text's height";
}

double lightness(const uikit::Color& color) {
    return 0.299 * color.red() + 0.587 * color.green() + 0.114 * color.blue();
}

// The texts a person reads on the page, with where they are.
void collectTexts(const uikit::View& view, std::vector<const uikit::Label*>& texts) {
    for (const auto& subview : view.subviews()) {
        if (subview->isHidden())
            continue;
        if (const auto* label = dynamic_cast<const uikit::Label*>(subview.get());
            label && label->text() && !label->text()->empty())
            texts.push_back(label);
        collectTexts(*subview, texts);
    }
}

TEST_F(PackageDetailsTest, EveryTextReadsInADarkPalette) {
    ASSERT_TRUE(KSPaletteManager::sharedPaletteManager().setActiveStyle(KSPalette::kBlue));
    auto page = open("com.sample.corelib");
    ASSERT_TRUE(page);
    const double background = lightness(KSPaletteManager::getActivePalette().backgroundColor());
    std::vector<const uikit::Label*> texts;
    collectTexts(*page->contentView, texts);
    EXPECT_GT(texts.size(), 20u);
    for (const auto* text : texts)
        EXPECT_GT(std::abs(lightness(text->textColor()) - background), 0.25)
            << text->text().value_or("");
    EXPECT_TRUE(KSPaletteManager::sharedPaletteManager().setActiveStyle(KSPalette::kLight));
}

TEST_F(PackageDetailsTest, SectionsFollowWhatIsKnown) {
    // Cy Sample has two packages: one other package for the theme.
    auto theme = open("com.sample.theme");
    ASSERT_TRUE(theme);
    EXPECT_EQ(theme->model().devPackages(), std::vector<std::string>{"com.sample.paid"});
    EXPECT_FALSE(theme->moreByDeveloper().otherDevPackagesTableView->isHidden());
    EXPECT_DOUBLE_EQ(theme->moreByDeveloper().otherDevPackagesTableView->frame().height(), 70);
    EXPECT_TRUE(theme->moreByDeveloper().otherDevPackagesLbl->isHidden());
    EXPECT_DOUBLE_EQ(theme->screenshots().screenshotsCollectionView->frame().height(), 0)
        << "no depiction, no screenshots: the block folds";
    EXPECT_TRUE(theme->screenshots().screenshotsCollectionView->isHidden());
    EXPECT_TRUE(theme->screenshots().screenshotsTitle->isHidden());
    EXPECT_TRUE(theme->bannerVideo().videoPreviewPlayer->isHidden());
    EXPECT_TRUE(theme->changelog().changelogTitle->isHidden());
    EXPECT_FALSE(theme->reviews().reviewsLbl->isHidden()) << "no reviews: the message";
    EXPECT_TRUE(theme->reviews().reviewsCollectionView->isHidden());
    EXPECT_TRUE(theme->information().dateLbl->isHidden());
    EXPECT_TRUE(theme->description().adsWebView->isHidden());
    EXPECT_DOUBLE_EQ(theme->information().developerLbl->frame().minY(),
                     theme->information().informationsTitle->frame().maxY() + 30)
        << "not installed: the developer row sits under the title";

    // Bo Sample has four: two rows at most.
    auto conflicting = open("com.sample.conflicting");
    ASSERT_TRUE(conflicting);
    EXPECT_EQ(conflicting->model().devPackages().size(), 3u);
    EXPECT_DOUBLE_EQ(conflicting->moreByDeveloper().otherDevPackagesTableView->frame().height(),
                     140);
    EXPECT_EQ(conflicting->moreByDeveloper().otherDevPackagesTableView->numberOfRowsInSection(0),
              2);

    // Without a maintainer there is no author to list packages of.
    change("com.sample.versioned", [](KSRPackage& package) { package.maintainer.reset(); });
    change("com.sample.unmet", [](KSRPackage& package) { package.maintainer.reset(); });
    auto lone = open("com.sample.versioned");
    ASSERT_TRUE(lone);
    EXPECT_TRUE(lone->model().devPackages().empty());
    EXPECT_TRUE(lone->moreByDeveloper().otherDevPackagesTableView->isHidden());
    EXPECT_DOUBLE_EQ(lone->moreByDeveloper().otherDevPackagesTableView->frame().height(), 0);
    EXPECT_FALSE(lone->moreByDeveloper().otherDevPackagesLbl->isHidden());
    EXPECT_DOUBLE_EQ(lone->moreByDeveloper().devPackagesSeparator->frame().minY(),
                     lone->moreByDeveloper().otherDevPackagesLbl->frame().maxY() + 20);
    EXPECT_DOUBLE_EQ(lone->scrollView->contentSize().height,
                     lone->moreByDeveloper().copyrightLbl->frame().maxY() + 30);
}

TEST_F(PackageDetailsTest, NoScreenshotAreaStaysReservedForADepictionThatFails) {
    const std::string missing = sample_->server().url("/depictions/missing.json");
    change("com.sample.nativedepiction",
           [&](KSRPackage& package) { package.sileoDepiction = missing; });
    auto page = open("com.sample.nativedepiction");
    ASSERT_TRUE(page);
    ASSERT_TRUE(waitForDepiction(*page));
    EXPECT_TRUE(page->screenshots().screenshotsCollectionView->isHidden());
    EXPECT_DOUBLE_EQ(page->screenshots().screenshotsCollectionView->frame().height(), 0);
    EXPECT_TRUE(page->model().refreshForCydiaPackages()) << "later passes keep the decision";
    EXPECT_DOUBLE_EQ(page->description().descriptionTitle->frame().minY(),
                     page->screenshots().screenshotsSeparator->frame().maxY() + 20);

    // Screenshots a later load brought show in a collection of the nib's height.
    PackageScreenshots::Outcome later;
    later.images = {uikit::Image::withColor(uikit::Color::white(), {10, 10})};
    page->model().applyScreenshots(later, false);
    page->setContent();
    EXPECT_FALSE(page->screenshots().screenshotsCollectionView->isHidden());
    EXPECT_FALSE(page->screenshots().screenshotsTitle->isHidden());
    EXPECT_DOUBLE_EQ(page->screenshots().screenshotsCollectionView->frame().height(),
                     PackageScreenshotsSection::kScreenshotsHeight);
    EXPECT_DOUBLE_EQ(page->screenshots().screenshotsTitle->frame().minY(),
                     page->header().topSeparator->frame().maxY() + 20);
    settle(*page);
}

TEST_F(PackageDetailsTest, AnInfoJsonSourceShowsItsScreenshotsOrWhyNot) {
    changeSource([](KSRSource& source) { source.isUsingInfoJson = true; }, location);
    const std::string shot = sample_->server().url("/depictions/shot1.png");
    change("com.sample.tweak", [&](KSRPackage& package) { package.screenshots = {shot}; });
    auto page = open("com.sample.tweak");
    ASSERT_TRUE(page);
    ASSERT_TRUE(
        testing_support::pumpUntil([&] { return !page->model().screenshotsDictionary().empty(); }));
    EXPECT_FALSE(page->screenshots().screenshotsCollectionView->isHidden());
    EXPECT_TRUE(page->screenshots().screenshotsLbl->isHidden());
    EXPECT_DOUBLE_EQ(page->screenshots().screenshotsCollectionView->frame().height(),
                     PackageScreenshotsSection::kScreenshotsHeight);
    EXPECT_FALSE(page->information().dateLbl->isHidden())
        << "an info-JSON source dates its packages";
    EXPECT_EQ(page->information().packageDateLbl->text(), "None");

    PackageScreenshots::Outcome failed;
    failed.cleared = true;
    page->model().applyScreenshots(failed, false);
    page->setContent();
    EXPECT_TRUE(page->screenshots().screenshotsCollectionView->isHidden());
    EXPECT_FALSE(page->screenshots().screenshotsLbl->isHidden());
    EXPECT_EQ(page->screenshots().screenshotsLbl->text(),
              "There was an error retrieving screenshots for \"Sample Tweak\"");
    EXPECT_DOUBLE_EQ(page->screenshots().screenshotsSeparator->frame().minY(),
                     page->screenshots().screenshotsLbl->frame().maxY() + 20);
    settle(*page);
}

TEST_F(PackageDetailsTest, TheHeaderIsSizedForTheScreen) {
    changeSource([](KSRSource& source) { source.isUsingInfoJson = true; }, location);
    auto regular = open("com.sample.theme");
    ASSERT_TRUE(regular);
    EXPECT_EQ(regular->header().iconView->frame().size, (uikit::Size{120, 120}));
    EXPECT_DOUBLE_EQ(regular->header().iconView->layer().cornerRadius(), 30);
    EXPECT_DOUBLE_EQ(regular->header().rating3->frame().width(), 25);
    EXPECT_DOUBLE_EQ(regular->header().getBtn->frame().maxY(),
                     regular->header().iconView->frame().maxY())
        << "the Get button sits under the icon's edge";
    EXPECT_DOUBLE_EQ(regular->view()->frame().width(), 375);

    uikit::Screen::main().setBounds({0, 0, 320, 568});
    auto smallWindow = std::make_shared<uikit::Window>(uikit::Rect{0, 0, 320, 568});
    auto smallNavigation =
        uikit::NavigationController::create(std::make_shared<uikit::ViewController>());
    smallWindow->setRootViewController(smallNavigation);
    smallWindow->makeKeyAndVisible();
    KSScreenFactory::Request request;
    request.packageIdentifier = "com.sample.theme";
    auto compact = std::dynamic_pointer_cast<PackageDetailsViewController>(
        KSScreenFactory::make(KSScreenFactory::Screen::packagePage, request));
    ASSERT_TRUE(compact);
    smallNavigation->push(compact, false);
    advanceClock(1);
    settle(*compact);
    EXPECT_EQ(compact->header().iconView->frame().size, (uikit::Size{100, 100}));
    EXPECT_DOUBLE_EQ(compact->header().iconView->layer().cornerRadius(), 25);
    EXPECT_DOUBLE_EQ(compact->header().rating3->frame().width(), 20);
    EXPECT_DOUBLE_EQ(compact->header().getBtn->frame().minY(),
                     compact->header().authorLbl->frame().maxY() + 30);
    EXPECT_DOUBLE_EQ(compact->contentView->frame().width(), 320);
    EXPECT_LE(compact->moreByDeveloper().copyrightLbl->frame().maxX(),
              320 - PackageSectionBuilder::kMargin);
    smallWindow->setRootViewController(nullptr);
}

TEST_F(PackageDetailsTest, ARefusedIdentifierOpensNothing) {
    KSScreenFactory::Request request;
    request.packageIdentifier = "../../etc/passwd";
    EXPECT_FALSE(KSScreenFactory::make(KSScreenFactory::Screen::packagePage, request));
    request.packageIdentifier = "com.sample.tweak";
    request.isPresented = true;
    auto presented = std::dynamic_pointer_cast<uikit::NavigationController>(
        KSScreenFactory::make(KSScreenFactory::Screen::packagePage, request));
    ASSERT_TRUE(presented);
    auto page =
        std::dynamic_pointer_cast<PackageDetailsViewController>(presented->topViewController());
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->isComingFromURLScheme());
}

TEST_F(PackageDetailsTest, FeaturedAndLinkedPagesShowTheirBarAndClose) {
    // The featured screen hides its bar: its page shows it and hides it again when popped.
    navigation->setNavigationBarHidden(true);
    KSScreenFactory::Request request;
    request.packageIdentifier = "com.sample.theme";
    auto featured = std::dynamic_pointer_cast<PackageDetailsViewController>(
        KSScreenFactory::make(KSScreenFactory::Screen::packagePage, request));
    ASSERT_TRUE(featured);
    featured->setIsComingFromFeatured(true);
    navigation->push(featured, true);
    advanceClock(1);
    settle(*featured);
    EXPECT_FALSE(navigation->isNavigationBarHidden());
    EXPECT_FALSE(featured->navigationItem()->leftBarButtonItem());
    navigation->pop(true);
    advanceClock(1);
    EXPECT_TRUE(navigation->isNavigationBarHidden());
    navigation->setNavigationBarHidden(false);

    // A page a link opened is presented with a Close button that dismisses it.
    request.isPresented = true;
    auto presented = KSScreenFactory::make(KSScreenFactory::Screen::packagePage, request);
    ASSERT_TRUE(presented);
    navigation->present(presented, true);
    advanceClock(1);
    auto linked = std::dynamic_pointer_cast<PackageDetailsViewController>(
        std::dynamic_pointer_cast<uikit::NavigationController>(presented)->topViewController());
    ASSERT_TRUE(linked);
    settle(*linked);
    auto close = linked->navigationItem()->leftBarButtonItem();
    ASSERT_TRUE(close);
    EXPECT_EQ(close->title(), "Close");
    ASSERT_TRUE(uikit::hands::tapBarButton(close));
    advanceClock(1);
    EXPECT_FALSE(navigation->presentedViewController());
}

TEST_F(PackageDetailsTest, ScrollingTheHeaderNeverLeavesTheBarInvisibleBehind) {
    const std::string missing = sample_->server().url("/depictions/missing.json");
    change("com.sample.nativedepiction",
           [&](KSRPackage& package) { package.sileoDepiction = missing; });
    auto page = open("com.sample.nativedepiction");
    ASSERT_TRUE(page);
    ASSERT_TRUE(waitForDepiction(*page));
    auto bar = navigation->navigationBar();
    page->scrollView->dragTo({0, -150});
    EXPECT_DOUBLE_EQ(bar->alpha(), 0.5);
    page->scrollView->dragTo({0, -400});
    EXPECT_DOUBLE_EQ(bar->alpha(), 0) << "never below 0";
    page->scrollView->dragTo({0, -20});
    EXPECT_DOUBLE_EQ(bar->alpha(), 1) << "never above 1";
    page->scrollView->dragTo({0, -200});
    ASSERT_DOUBLE_EQ(bar->alpha(), 0) << "the banner shows through";
    page->scrollView->dragTo({0, 150});
    EXPECT_DOUBLE_EQ(bar->alpha(), 1) << "a scroll that jumps past 0 shows the bar all the same";
    page->scrollView->dragTo({0, -200});

    navigation->pop(true);
    advanceClock(1);
    EXPECT_DOUBLE_EQ(bar->alpha(), 1) << "the screen below gets a visible bar";
}

TEST_F(PackageDetailsTest, TheHeaderMovesIntoTheBarOncePerCrossing) {
    const std::string missing = sample_->server().url("/depictions/missing.json");
    change("com.sample.nativedepiction",
           [&](KSRPackage& package) { package.sileoDepiction = missing; });
    auto page = open("com.sample.nativedepiction");
    ASSERT_TRUE(page);
    ASSERT_TRUE(waitForDepiction(*page));
    EXPECT_EQ(page->navigationItem()->rightBarButtonItem(), page->wishlistBtn());
    page->scrollView->dragTo({0, 150});
    advanceClock(1);
    EXPECT_EQ(page->navigationItem()->rightBarButtonItem(), page->getBarBtnItem());
    EXPECT_EQ(page->navigationItem()->titleView(), page->customTitleView());
    EXPECT_DOUBLE_EQ(page->header().nameLbl->alpha(), 0);
    // Back on the page scrolled this far, the bar keeps its Get button.
    navigation->push(std::make_shared<uikit::ViewController>(), false);
    advanceClock(1);
    navigation->pop(false);
    advanceClock(1);
    settle(*page);
    EXPECT_EQ(page->navigationItem()->rightBarButtonItem(), page->getBarBtnItem());
    page->scrollView->dragTo({0, 50});
    advanceClock(1);
    EXPECT_EQ(page->navigationItem()->rightBarButtonItem(), page->wishlistBtn());
    EXPECT_DOUBLE_EQ(page->header().nameLbl->alpha(), 1);
    page->scrollView->endDragging();
    advanceClock(1);

    // The wishlist button toggles the stored flag and its image.
    ASSERT_TRUE(page->wishlistBtn());
    page->changeWishlistState();
    const auto wished = stored("com.sample.nativedepiction");
    ASSERT_TRUE(wished);
    EXPECT_TRUE(wished->isInWishlist);
    EXPECT_EQ(page->wishlistBtn()->image()->name(), "Fav");
    page->changeWishlistState();
    const auto unwished = stored("com.sample.nativedepiction");
    ASSERT_TRUE(unwished);
    EXPECT_FALSE(unwished->isInWishlist);
    EXPECT_EQ(page->wishlistBtn()->image()->name(), "Not Fav");
}

}  // namespace
}  // namespace corvane::testing
