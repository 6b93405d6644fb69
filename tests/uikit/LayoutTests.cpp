#include <gtest/gtest.h>

#include "foundation/ProcessState.h"
#include "foundation/RunLoop.h"
#include "support/MainLoop.h"
#include "uikit/Label.h"
#include "uikit/StackView.h"
#include "uikit/View.h"

namespace {

using namespace uikit;
using testing_support::advanceClock;

class CountingView : public View {
  public:
    int passes = 0;
    int depth = 0;
    int deepest = 0;
    bool askAgain = true;
    void layoutSubviews() override {
        ++passes;
        deepest = std::max(deepest, ++depth);
        if (askAgain) {
            askAgain = false;
            setNeedsLayout();
            layoutIfNeeded();  // must not run a nested pass
        }
        --depth;
    }
};

TEST(Layout, APassThatAResetDroppedDoesNotHoldUpLaterRequests) {
    auto dropped = std::make_shared<CountingView>();
    dropped->setNeedsLayout();
    ASSERT_TRUE(foundation::ProcessState::reset());
    EXPECT_EQ(dropped->passes, 0);

    auto view = std::make_shared<CountingView>();
    view->askAgain = false;
    view->setNeedsLayout();
    advanceClock(0);
    EXPECT_EQ(view->passes, 1);
}

TEST(Layout, ARequestInsideAPassSchedulesOneMorePass) {
    auto view = std::make_shared<CountingView>();
    view->setNeedsLayout();
    view->setNeedsLayout();
    EXPECT_EQ(view->passes, 0);  // carried out on the run loop, not at once
    foundation::RunLoop::main().runOnce(0);
    EXPECT_EQ(view->passes, 1);
    EXPECT_TRUE(view->needsLayout());
    foundation::RunLoop::main().runOnce(0);
    EXPECT_EQ(view->passes, 2);
    EXPECT_EQ(view->deepest, 1);
    EXPECT_FALSE(view->needsLayout());
    advanceClock(0);
    EXPECT_EQ(view->passes, 2);

    view->setNeedsLayout();
    view->layoutIfNeeded();
    EXPECT_EQ(view->passes, 3);
    advanceClock(0);
    EXPECT_EQ(view->passes, 3);  // the queued request finds nothing left to do
}

TEST(Layout, ParentsAreLaidOutBeforeChildren) {
    std::vector<std::string> order;
    struct Named : View {
        std::vector<std::string>* log;
        std::string name;
        Named(std::vector<std::string>* l, std::string n) : log(l), name(std::move(n)) {}
        void layoutSubviews() override { log->push_back(name); }
    };
    auto parent = std::make_shared<Named>(&order, "parent");
    auto child = std::make_shared<Named>(&order, "child");
    parent->addSubview(child);
    child->setNeedsLayout();
    parent->setNeedsLayout();
    advanceClock(0);
    EXPECT_EQ(order, (std::vector<std::string>{"parent", "child"}));
}

// A cell that keeps one constraint of its own, as an outlet would.
class Cell : public View {
  public:
    std::shared_ptr<Label> description = std::make_shared<Label>();
    std::shared_ptr<LayoutConstraint> descriptionTrailing;

    Cell() {
        addSubview(description);
        descriptionTrailing =
            description->trailingAnchor().constraintEqualTo(trailingAnchor(), -16);
        LayoutConstraint::activate(
            {descriptionTrailing,
             description->leadingAnchor().constraintEqualTo(leadingAnchor(), 8),
             description->heightAnchor().constraintEqualToConstant(40)});
    }
};

TEST(Layout, ASwitchedOffConstraintKeptByItsOwnerCanBeSwitchedOnAgain) {
    auto cell = std::make_shared<Cell>();
    ASSERT_EQ(cell->description->constraints().size(), 3u);
    std::weak_ptr<LayoutConstraint> watch = cell->descriptionTrailing;
    EXPECT_EQ(cell->descriptionTrailing->firstItem(), cell->description.get());
    EXPECT_EQ(cell->descriptionTrailing->secondItem(), cell.get());
    EXPECT_EQ(cell->descriptionTrailing->secondAttribute(), LayoutAttribute::trailing);

    cell->descriptionTrailing->setActive(false);
    EXPECT_EQ(cell->description->constraints().size(), 2u);
    ASSERT_FALSE(watch.expired());
    cell->descriptionTrailing->setConstant(-51);
    cell->descriptionTrailing->setActive(true);
    EXPECT_TRUE(cell->descriptionTrailing->isActive());
    EXPECT_EQ(cell->description->constraints().back()->constant(), -51);
    EXPECT_EQ(cell->constraintsAffecting(cell->description.get()).size(), 3u);

    // Nobody keeps this one: switched off, it is gone.
    auto height = cell->description->constraints()[1];
    std::weak_ptr<LayoutConstraint> loose = height;
    height->setActive(false);
    height.reset();
    EXPECT_TRUE(loose.expired());
}

TEST(Layout, ConstraintsOutliveTheirItemsSafely) {
    std::shared_ptr<LayoutConstraint> kept;
    {
        auto cell = std::make_shared<Cell>();
        kept = cell->descriptionTrailing;
    }
    EXPECT_EQ(kept->firstItem(), nullptr);
    EXPECT_FALSE(kept->isActive());
    kept->setActive(true);
    EXPECT_FALSE(kept->isActive());
}

TEST(Layout, StackViewArrangesVisibleViewsOnly) {
    auto a = std::make_shared<View>(Rect{0, 0, 40, 10});
    auto b = std::make_shared<View>(Rect{0, 0, 60, 20});
    auto c = std::make_shared<View>(Rect{0, 0, 30, 30});
    auto stack = std::make_shared<StackView>(std::vector<std::shared_ptr<View>>{a, b, c});
    stack->setSpacing(10);
    stack->setAlignment(StackViewAlignment::center);
    EXPECT_EQ(stack->intrinsicContentSize(), (Size{150, 30}));
    stack->setFrame({0, 0, 150, 30});
    stack->layoutIfNeeded();
    EXPECT_EQ(b->frame(), (Rect{50, 5, 60, 20}));
    b->setHidden(true);
    advanceClock(0);
    // Filling: the first view without a natural width takes the room b gave up.
    EXPECT_EQ(a->frame().width(), 110);
    EXPECT_EQ(c->frame().origin.x, 120);
    b->removeFromSuperview();
    EXPECT_EQ(stack->arrangedSubviews().size(), 2u);

    stack->setAxis(LayoutAxis::vertical);
    stack->setDistribution(StackViewDistribution::fillEqually);
    stack->setFrame({0, 0, 30, 110});
    stack->layoutIfNeeded();
    EXPECT_EQ(c->frame().size.height, 50);
    EXPECT_EQ(c->frame().origin.y, 60);
}

}  // namespace
