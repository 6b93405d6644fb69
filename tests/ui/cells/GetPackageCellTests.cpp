// Package rows with the Get button, driven by a finger: the title and its width, a tap that
// queues through the application, a long press that opens the options, and the second line.
#include "ui/cells/GetPackageCell.h"

#include <gtest/gtest.h>

#include "foundation/NotificationCenter.h"
#include "framework/StorageFixture.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSRNotifications.h"
#include "framework/storage/KSRSource.h"
#include "support/MainLoop.h"
#include "ui/cells/CellTable.h"
#include "ui/cells/KSQueueStateObserver.h"
#include "ui/core/KSApplicationServices.h"
#include "uikit/Hands.h"

namespace corvane {
namespace {

using testing::CellTable;
using testing_support::advanceClock;

// The application's queueing as far as a row can tell: the package is marked queued and its
// queue-state notification is posted.
class QueueingServices : public KSApplicationServices {
  public:
    void queuePackageWithIdentifier(const std::string& identifier,
                                    const std::optional<std::string>& versionToQueue,
                                    const std::shared_ptr<uikit::View>& sender) override {
        queued.push_back(identifier);
        queueSender = sender;
        KSRPackageManager::sharedPackageManager().packages().setPackage(identifier, true,
                                                                        versionToQueue, 0);
        foundation::NotificationCenter::defaultCenter().post(
            KSRQueueStateNotificationName(identifier));
    }
    void presentOptions(const std::string& packageIdentifier,
                        const std::shared_ptr<uikit::View>& sender) override {
        options.push_back(packageIdentifier);
        optionsSender = sender;
    }
    void sharePackage(const std::string&, const std::shared_ptr<uikit::View>&) override {
        ADD_FAILURE() << "a row shares nothing";
    }
    // Rows present nothing themselves.
    void presentViewController(const std::shared_ptr<uikit::ViewController>& controller,
                               const std::shared_ptr<uikit::BarButtonItem>&) override {
        ADD_FAILURE() << "a row presented a screen";
    }

    std::vector<std::string> queued;
    std::vector<std::string> options;
    std::shared_ptr<uikit::View> queueSender;
    std::shared_ptr<uikit::View> optionsSender;
};

double titleWidth(const std::string& title) {
    return uikit::Font::boldSystemFont(13).sizeOfText(title).width + 32;
}

class GetPackageCellTest : public testing::StorageFixture {
  protected:
    void SetUp() override {
        StorageFixture::SetUp();
        GetPackageCell::registerNib();
        KSApplicationServices::registerServices(services_);
    }

    // Filled as the screens fill these rows.
    static std::shared_ptr<CellTable> list() {
        return CellTable::make(GetPackageCell::kNibName, "get", GetPackageCell::kRowHeight,
                               [](uikit::TableViewCell& cell, const std::string& identifier) {
                                   auto& row = dynamic_cast<GetPackageCell&>(cell);
                                   const auto package = stored(identifier);
                                   row.updateWithPackage(package.value());
                                   row.updateButtonTitleWithPackage(package, false);
                                   row.updatePackageIcon();
                               });
    }

    std::shared_ptr<QueueingServices> services_ = std::make_shared<QueueingServices>();
};

TEST_F(GetPackageCellTest, ATapQueuesThePackageAndTheButtonReadsQueued) {
    store({package("com.example.app")});
    auto rows = list();
    rows->show({"com.example.app"});
    auto row = rows->cellAs<GetPackageCell>(0);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->getBtn->currentTitle(), "GET");
    EXPECT_DOUBLE_EQ(row->getBtnWidthConstraint->constant(), titleWidth("GET"));
    EXPECT_DOUBLE_EQ(row->getBtn->frame().width(), titleWidth("GET"));

    ASSERT_TRUE(uikit::hands::tap(row->getBtn));
    EXPECT_EQ(services_->queued, std::vector<std::string>{"com.example.app"});
    EXPECT_EQ(services_->queueSender, row->getBtn);
    advanceClock(0);
    EXPECT_EQ(row->getBtn->currentTitle(), "QUEUED");
    EXPECT_DOUBLE_EQ(row->getBtnWidthConstraint->constant(), titleWidth("QUEUED"));
    EXPECT_DOUBLE_EQ(row->getBtn->frame().width(), titleWidth("QUEUED"));
    EXPECT_GT(titleWidth("QUEUED"), titleWidth("GET"));
    EXPECT_TRUE(services_->options.empty());
}

TEST_F(GetPackageCellTest, ALongPressOpensTheOptionsOnceAndAShortOneIsATap) {
    store({package("com.example.app")});
    auto rows = list();
    rows->show({"com.example.app"});
    auto row = rows->cellAs<GetPackageCell>(0);

    ASSERT_TRUE(uikit::hands::longPress(row->getBtn, 0.6));
    advanceClock(0.5);
    EXPECT_EQ(services_->options, std::vector<std::string>{"com.example.app"});
    EXPECT_EQ(services_->optionsSender, row->getBtn);
    EXPECT_TRUE(services_->queued.empty()) << "the long press took the touch from the button";

    ASSERT_TRUE(uikit::hands::longPress(row->getBtn, 0.1));
    advanceClock(0.5);
    EXPECT_EQ(services_->options.size(), 1u);
    EXPECT_EQ(services_->queued.size(), 1u);
}

TEST_F(GetPackageCellTest, TheTitleFollowsTheQueueStateOfTheCurrentPackageOnly) {
    auto updatable = package("com.example.updatable");
    updatable.isInstalled = true;
    updatable.isUpdated = true;
    auto held = updatable;
    held.identifier = "com.example.held";
    held.isHeld = true;
    store({updatable, held, package("com.example.other")});
    auto rows = list();
    rows->show({"com.example.held"});
    EXPECT_EQ(rows->cellAs<GetPackageCell>(0)->getBtn->currentTitle(), "UNINSTALL");
    rows->show({"com.example.updatable"});
    auto row = rows->cellAs<GetPackageCell>(0);
    EXPECT_EQ(row->getBtn->currentTitle(), "UPDATE");

    rows->show({"com.example.other"});
    ASSERT_TRUE(rows->cellAs<GetPackageCell>(0) == row) << "the same cell, handed out again";
    KSRPackageManager::sharedPackageManager().packages().setPackage("com.example.updatable", true,
                                                                    std::nullopt, 0);
    foundation::NotificationCenter::defaultCenter().post(
        KSRQueueStateNotificationName("com.example.updatable"));
    advanceClock(0);
    EXPECT_EQ(row->getBtn->currentTitle(), "GET") << "the package it showed before";

    const auto other = stored("com.example.other");
    ASSERT_TRUE(other);
    auto database = realm();
    database.write([&] { database.deleteObject(*other); });
    foundation::NotificationCenter::defaultCenter().post(
        KSRQueueStateNotificationName("com.example.other"));
    advanceClock(0);
    EXPECT_EQ(row->getBtn->currentTitle(), "GET") << "no longer stored";
}

TEST_F(GetPackageCellTest, APriceShowsOnlyWhenAskedForAndNotFree) {
    auto paid = package("com.example.paid");
    paid.price = "$1.99";
    EXPECT_EQ(GetPackageCell::buttonTitleForPackage(paid, false), "GET");
    EXPECT_EQ(GetPackageCell::buttonTitleForPackage(paid, true), "$1.99");
    for (const char* free : {"Free", "free", "0", ""}) {
        paid.price = free;
        EXPECT_EQ(GetPackageCell::buttonTitleForPackage(paid, true), "GET") << free;
    }
    EXPECT_EQ(GetPackageCell::buttonTitleForPackage(std::nullopt, true), "GET");
}

TEST_F(GetPackageCellTest, TheSecondLineFallsBackToTheSourceContact) {
    KSRSource source;
    source.location = "https://repo.example.org/";
    source.name = "Example Repo";
    source.contact = "repo@example.org";
    auto database = realm();
    database.write([&] { database.addOrUpdateObject(source); });
    auto emptyMaintainer = package("com.example.empty");
    emptyMaintainer.maintainer = "";
    emptyMaintainer.contact = "own@example.org";
    emptyMaintainer.sourceLocation = source.location;
    auto contactOnly = package("com.example.contact");
    contactOnly.contact = "own@example.org";
    store({emptyMaintainer, contactOnly, package("com.example.orphan")});

    auto rows = list();
    rows->show({"com.example.empty", "com.example.contact", "com.example.orphan"});
    EXPECT_EQ(rows->cellAs<GetPackageCell>(0)->maintainerLbl->text(), "repo@example.org")
        << "its own contact counts only when there is no maintainer at all";
    EXPECT_EQ(rows->cellAs<GetPackageCell>(1)->maintainerLbl->text(), "own@example.org");
    EXPECT_EQ(rows->cellAs<GetPackageCell>(2)->maintainerLbl->text(), "Unknown");

    CorvanePersistentPreferences::sharedInstance().setValue(
        true, "ReplacePackageMaintainerWithSourceName");
    rows->show({"com.example.empty", "com.example.orphan"});
    EXPECT_EQ(rows->cellAs<GetPackageCell>(0)->maintainerLbl->text(), "Example Repo");
    EXPECT_EQ(rows->cellAs<GetPackageCell>(1)->maintainerLbl->text(), "Unknown");
}

}  // namespace
}  // namespace corvane
