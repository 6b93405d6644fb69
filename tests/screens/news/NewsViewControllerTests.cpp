// The news screen as the application shows it: opened through the screen factory, filled from
// the maker's service on 127.0.0.1, closed with its button.
#include "screens/news/NewsViewController.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/webservice/KSWebServiceAddress.h"
#include "screens/KSScreens.h"
#include "support/HttpServer.h"
#include "support/MainLoop.h"
#include "support/TempDeviceRoot.h"
#include "ui/cells/NewsCell.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/Hands.h"
#include "uikit/Window.h"

namespace corvane {
namespace {

using testing_support::advanceClock;

class NewsViewControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server_.route("/api/news",
                      {.body = R"([{"id": 7, "title": "Corvane 5", "body": "Lists are faster.",
                                    "date": "2024-03-02"},
                                   {"id": 8, "title": "Maintenance", "body": "Tonight."},
                                   {"body": "no title, not shown"}])",
                       .contentType = "application/json"});
        server_.start();
        setenv(KSWebServiceAddress::kEnvironmentVariable, server_.url("/api").c_str(), 1);
        registerScreens();
        window_->setRootViewController(root_);
        window_->makeKeyAndVisible();
    }
    void TearDown() override {
        window_->setRootViewController(nullptr);
        advanceClock(1);
    }

    std::shared_ptr<NewsCell> row(NewsViewController& news, int index) {
        news.newsTableView->layoutIfNeeded();
        return std::dynamic_pointer_cast<NewsCell>(
            news.newsTableView->cellForRowAtIndexPath(uikit::IndexPath::forRow(index, 0)));
    }

    testing_support::TempDeviceRoot deviceRoot_;
    testing_support::HttpServer server_;
    std::shared_ptr<uikit::Window> window_ = std::make_shared<uikit::Window>();
    std::shared_ptr<uikit::ViewController> root_ = std::make_shared<uikit::ViewController>();
};

TEST_F(NewsViewControllerTest, ListsTheNewsOfTheServiceAndClosesWithDone) {
    auto news = std::dynamic_pointer_cast<NewsViewController>(
        KSScreenFactory::make(KSScreenFactory::Screen::news));
    ASSERT_TRUE(news);
    root_->present(news, true);
    advanceClock(1);
    ASSERT_TRUE(testing_support::pumpUntil([&] { return news->news().size() == 2; }));

    auto first = row(*news, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->newsTitleLbl->text(), "Corvane 5");
    EXPECT_EQ(first->newsDateLbl->text(), "2024-03-02");
    EXPECT_EQ(first->newsContentLbl->text(), "Lists are faster.");
    auto second = row(*news, 1);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->newsTitleLbl->text(), "Maintenance");
    EXPECT_TRUE(second->separator->isHidden());
    EXPECT_NE(window_->describe().find("Lists are faster."), std::string::npos);

    ASSERT_TRUE(uikit::hands::tap(news->doneBtn));
    advanceClock(1);
    EXPECT_EQ(root_->presentedViewController(), nullptr);
}

}  // namespace
}  // namespace corvane
