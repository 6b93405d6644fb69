#include "uikit/TextView.h"

#include <gtest/gtest.h>

namespace {

using namespace uikit;

struct LinkPolicy : TextViewDelegate {
    std::vector<std::string> asked;
    bool allow = false;
    bool textViewShouldInteractWithURL(TextView&, const std::string& url, TextRange,
                                       TextItemInteraction) override {
        asked.push_back(url);
        return allow;
    }
};

TEST(TextView, LinkTapsGoThroughTheDelegateWhichMayRefuse) {
    auto view = std::make_shared<TextView>(Rect{0, 0, 300, 200});
    AttributedString text("See ");
    TextAttributes link;
    link.link = "https://example.org/depiction";
    text.append("the depiction", link);
    view->setAttributedText(text);
    view->setEditable(false);

    std::vector<std::string> opened;
    TextView::setLinkOpener([&](const std::string& url) { opened.push_back(url); });
    auto policy = std::make_shared<LinkPolicy>();
    view->setDelegate(policy);

    EXPECT_FALSE(view->tapLink("https://example.org/depiction"));
    EXPECT_TRUE(opened.empty());
    policy->allow = true;
    EXPECT_TRUE(view->tapLink("https://example.org/depiction"));
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.org/depiction"});
    EXPECT_FALSE(view->tapLink("https://example.org/other"));
    EXPECT_EQ(policy->asked.size(), 2u);

    view->setSelectable(false);
    EXPECT_FALSE(view->tapLink("https://example.org/depiction"));
    TextView::setLinkOpener({});
}

TEST(TextView, ContentGrowsWithItsText) {
    TextView view(Rect{0, 0, 200, 100});
    view.setText("line");
    double one = view.contentSize().height;
    view.setText("A long changelog entry that wraps over a good number of lines at this width.");
    EXPECT_GT(view.contentSize().height, 2 * one - 16);
    EXPECT_EQ(view.describe().substr(0, 17), "TextView \"A long ");
}

}  // namespace
