#include "uikit/Label.h"

#include <gtest/gtest.h>

#include "uikit/Button.h"

namespace {

using namespace uikit;

TEST(Label, WithoutALineLimitGrowsInHeightWithItsText) {
    auto label = std::make_shared<Label>(Rect{0, 0, 150, 20});
    label->setNumberOfLines(0);
    label->setText("Short");
    double shortHeight = label->intrinsicContentSize().height;
    label->setText("A much longer description that cannot possibly fit on one line of this label");
    double longHeight = label->intrinsicContentSize().height;
    EXPECT_GT(longHeight, 2 * shortHeight);
    EXPECT_LE(label->intrinsicContentSize().width, 150);
    EXPECT_GT(label->systemLayoutSizeFitting({150, 0}).height, 2 * shortHeight);
    EXPECT_GT(label->displayedLineCount(), 2);

    label->setNumberOfLines(3);
    EXPECT_LE(label->displayedLineCount(), 3);
    EXPECT_LT(label->intrinsicContentSize().height, longHeight + 1);

    label->setNumberOfLines(1);
    EXPECT_GT(label->intrinsicContentSize().width, 150);
    EXPECT_EQ(label->intrinsicContentSize().height, shortHeight);
}

TEST(Label, SizeToFitUsesTheRealTextWidth) {
    auto label = std::make_shared<Label>();
    label->setFont(Font::boldSystemFont(13));
    label->setText("UPDATE");
    label->sizeToFit();
    double bold = label->frame().width();
    label->setFont(Font::systemFont(13));
    label->sizeToFit();
    EXPECT_GT(bold, label->frame().width());
    EXPECT_GT(label->frame().height(), 10);

    label->setText(std::nullopt);
    EXPECT_EQ(label->sizeThatFits({}), (Size{0, 0}));
}

TEST(Label, AttributedTextAndPlainTextFollowEachOther) {
    Label label;
    label.setText("Plain");
    ASSERT_TRUE(label.attributedText());
    EXPECT_EQ(label.attributedText()->string(), "Plain");
    EXPECT_EQ(label.attributedText()->runs().front().attributes.font, label.font());

    TextAttributes bold;
    bold.font = Font::boldSystemFont(20);
    AttributedString text("Rich", bold);
    label.setAttributedText(text);
    EXPECT_EQ(label.text(), "Rich");
    label.setFont(Font::systemFont(9));
    EXPECT_EQ(label.attributedText()->runs().front().attributes.font, Font::systemFont(9));
}

TEST(Label, ShrinksToFitItsWidthWhenAsked) {
    auto label = std::make_shared<Label>(Rect{0, 0, 40, 20});
    label->setText("A title far too wide for forty points");
    EXPECT_EQ(label->displayedPointSize(), 17);
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumScaleFactor(0.5);
    EXPECT_DOUBLE_EQ(label->displayedPointSize(), 8.5);
}

TEST(Button, ALongerTitleMakesAWiderButton) {
    Button button(ButtonType::system);
    button.setTitle("GET");
    double narrow = button.intrinsicContentSize().width;
    button.setTitle("UNINSTALL");
    EXPECT_GT(button.intrinsicContentSize().width, narrow);
    button.titleLabel()->setFont(Font::boldSystemFont(15));
    double bold = button.intrinsicContentSize().width;
    button.titleLabel()->setFont(Font::systemFont(15));
    EXPECT_GT(bold, button.intrinsicContentSize().width);
}

}  // namespace
