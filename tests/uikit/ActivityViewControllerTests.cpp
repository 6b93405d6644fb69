// The share sheet: what it offers and when its completion hears of the choice.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/MainLoop.h"
#include "uikit/ActivityViewController.h"
#include "uikit/InterfaceHands.h"
#include "uikit/Window.h"

namespace {

using namespace uikit;
using testing_support::advanceClock;

class ActivityViewControllerTest : public ::testing::Test {
  protected:
    std::shared_ptr<Window> window = std::make_shared<Window>();
    std::shared_ptr<ViewController> root = std::make_shared<ViewController>();
    std::shared_ptr<ActivityViewController> sheet =
        std::make_shared<ActivityViewController>(std::vector<ActivityItem>{
            foundation::Value("Check out \"Tweak\""), Image::withColor(Color::black())});
    std::vector<std::pair<std::optional<std::string>, bool>> outcomes;

    void SetUp() override {
        window->setRootViewController(root);
        window->makeKeyAndVisible();
        sheet->setTitle("Tweak");
        sheet->setExcludedActivityTypes({ActivityViewController::kActivityTypeAirDrop,
                                         ActivityViewController::kActivityTypePrint});
        sheet->setCompletionWithItemsHandler([this](std::optional<std::string> type, bool done) {
            EXPECT_EQ(root->presentedViewController(), nullptr) << "the sheet is gone first";
            outcomes.emplace_back(type, done);
        });
        root->present(sheet, true);
        advanceClock(0.3);
    }
};

TEST_F(ActivityViewControllerTest, ExcludedActivitiesAreNeitherShownNorChoosable) {
    auto offered = sheet->availableActivityTypes();
    EXPECT_EQ(std::count(offered.begin(), offered.end(), "AirDrop"), 0);
    EXPECT_EQ(std::count(offered.begin(), offered.end(), "Mail"), 1);
    EXPECT_EQ(window->describe().find("AirDrop"), std::string::npos);
    EXPECT_NE(window->describe().find("Label \"Tweak\""), std::string::npos);
    EXPECT_FALSE(hands::completeActivity(sheet, ActivityViewController::kActivityTypePrint));
    advanceClock(0.3);
    EXPECT_TRUE(outcomes.empty());
    EXPECT_EQ(sheet->activityItems().size(), 2u);
}

TEST_F(ActivityViewControllerTest, TheCompletionHearsOfTheChoiceAfterTheSheetHasGone) {
    EXPECT_TRUE(hands::completeActivity(sheet, ActivityViewController::kActivityTypeMail));
    EXPECT_TRUE(outcomes.empty());
    advanceClock(0.3);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].first, "Mail");
    EXPECT_TRUE(outcomes[0].second);
}

TEST_F(ActivityViewControllerTest, CancellingCompletesWithNoActivity) {
    EXPECT_TRUE(hands::completeActivity(sheet, std::nullopt));
    advanceClock(0.3);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].first, std::nullopt);
    EXPECT_FALSE(outcomes[0].second);
}

}  // namespace
