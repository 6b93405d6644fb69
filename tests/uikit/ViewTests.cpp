#include "uikit/View.h"

#include <gtest/gtest.h>

#include "uikit/Button.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"

namespace {

using namespace uikit;

std::shared_ptr<Label> label(const std::string& text) {
    auto l = std::make_shared<Label>();
    l->setText(text);
    return l;
}

TEST(View, DescribeLeavesOutWhatAPersonCannotSee) {
    auto root = std::make_shared<View>(Rect{0, 0, 320, 480});
    auto card = std::make_shared<View>(Rect{0, 0, 320, 100});
    root->addSubview(card);
    card->addSubview(label("Visible name"));
    auto hiddenBox = std::make_shared<View>();
    hiddenBox->addSubview(label("Inside a hidden box"));
    hiddenBox->setHidden(true);
    root->addSubview(hiddenBox);
    auto faded = label("Faded away");
    faded->setAlpha(0);
    root->addSubview(faded);
    auto button = std::make_shared<Button>(ButtonType::system);
    button->setTitle("GET");
    root->addSubview(button);

    std::string text = root->describe();
    EXPECT_EQ(text,
              "View\n"
              "  View\n"
              "    Label \"Visible name\"\n"
              "  Button \"GET\"\n");
    // A view hidden by its ancestor prints nothing when asked itself.
    EXPECT_EQ(hiddenBox->subviews().front()->describe(), "");
    EXPECT_NE(root->describe(true).find("View (0 0; 320 100)"), std::string::npos);
}

TEST(View, TintComesFromTheNearestAncestorThatSetsOne) {
    auto root = std::make_shared<View>();
    auto middle = std::make_shared<View>();
    auto leaf = std::make_shared<View>();
    root->addSubview(middle);
    middle->addSubview(leaf);
    EXPECT_EQ(leaf->tintColor(), Color::systemBlue());
    root->setTintColor(Color::systemOrange());
    EXPECT_EQ(leaf->tintColor(), Color::systemOrange());
    middle->setTintColor(Color::systemPurple());
    EXPECT_EQ(leaf->tintColor(), Color::systemPurple());
    leaf->removeFromSuperview();
    EXPECT_EQ(leaf->tintColor(), Color::systemBlue());
}

TEST(View, KeepsItsTreeInOrder) {
    auto root = std::make_shared<View>();
    auto a = std::make_shared<View>(), b = std::make_shared<View>(), c = std::make_shared<View>();
    root->addSubview(a);
    root->addSubview(b);
    root->insertSubview(c, 0);
    EXPECT_EQ(root->subviews(), (std::vector<std::shared_ptr<View>>{c, a, b}));
    root->bringSubviewToFront(c.get());
    root->sendSubviewToBack(b.get());
    EXPECT_EQ(root->subviews(), (std::vector<std::shared_ptr<View>>{b, a, c}));
    auto other = std::make_shared<View>();
    other->addSubview(a);
    EXPECT_EQ(a->superview(), other);
    EXPECT_EQ(root->subviews().size(), 2u);
    a->addSubview(other);  // a cycle is refused
    EXPECT_EQ(other->superview(), nullptr);
    c->setTag(41054834);
    EXPECT_EQ(root->viewWithTag(41054834), c);
    EXPECT_EQ(root->viewWithTag(7), nullptr);
    EXPECT_EQ(root->window(), nullptr);

    std::weak_ptr<View> gone = b;
    b.reset();
    root.reset();
    EXPECT_TRUE(gone.expired());
    EXPECT_EQ(c->superview(), nullptr);
}

TEST(View, ConvertsPointsAndHitsTheTopmostInteractiveView) {
    auto root = std::make_shared<View>(Rect{0, 0, 300, 300});
    auto panel = std::make_shared<View>(Rect{100, 100, 100, 100});
    auto button = std::make_shared<Button>();
    button->setFrame({10, 10, 50, 50});
    panel->addSubview(button);
    root->addSubview(panel);
    EXPECT_EQ(button->convertPointTo({0, 0}, nullptr), (Point{110, 110}));
    EXPECT_EQ(button->convertPointFrom({110, 110}, nullptr), (Point{0, 0}));
    EXPECT_EQ(root->hitTest({120, 120}), button);
    EXPECT_EQ(root->hitTest({190, 190}), panel);
    auto cover = label("covers the button");  // labels take no touches
    cover->setFrame({0, 0, 300, 300});
    root->addSubview(cover);
    EXPECT_EQ(root->hitTest({120, 120}), button);
    button->setEnabled(false);
    EXPECT_EQ(root->hitTest({120, 120}), panel);

    panel->setTransform(AffineTransform::makeScale(2, 2));
    EXPECT_EQ(panel->frame(), (Rect{50, 50, 200, 200}));
    EXPECT_EQ(panel->bounds().size, (Size{100, 100}));
}

TEST(View, SafeAreaAndAutoresizingFollowTheSuperview) {
    auto root = std::make_shared<View>(Rect{0, 0, 375, 667});
    root->setSafeAreaInsets(EdgeInsets{44, 0, 34, 0});
    auto top = std::make_shared<View>(Rect{0, 0, 375, 100});
    root->addSubview(top);
    EXPECT_EQ(top->safeAreaInsets(), (EdgeInsets{44, 0, 0, 0}));
    EXPECT_EQ(root->safeAreaLayoutGuide().layoutFrame(), (Rect{0, 44, 375, 589}));

    auto stretchy = std::make_shared<View>(Rect{10, 10, 355, 50});
    stretchy->setAutoresizingMask(Autoresizing::flexibleWidth);
    auto pinnedRight = std::make_shared<View>(Rect{335, 10, 30, 30});
    pinnedRight->setAutoresizingMask(Autoresizing::flexibleLeftMargin);
    root->addSubview(stretchy);
    root->addSubview(pinnedRight);
    root->setFrame({0, 0, 475, 667});
    EXPECT_EQ(stretchy->frame(), (Rect{10, 10, 455, 50}));
    EXPECT_EQ(pinnedRight->frame(), (Rect{435, 10, 30, 30}));
}

}  // namespace
