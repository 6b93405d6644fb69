// Frames from constraint data: chains of views placed under each other, switched and re-spaced
// as a screen switches its constraints, fallbacks by priority, and the container height.
#include "uikit/ConstraintPlacement.h"

#include <gtest/gtest.h>

#include "uikit/Label.h"
#include "uikit/TextView.h"
#include "uikit/View.h"

namespace uikit {
namespace {

std::shared_ptr<View> constrainedView(View& container) {
    auto view = std::make_shared<View>();
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    container.addSubview(view);
    return view;
}

std::shared_ptr<LayoutConstraint> on(std::shared_ptr<LayoutConstraint> constraint) {
    constraint->setActive(true);
    return constraint;
}

class ConstraintPlacementTest : public ::testing::Test {
  protected:
    std::shared_ptr<View> container = std::make_shared<View>(Rect{0, 0, 320, 1000});
};

TEST_F(ConstraintPlacementTest, AChainStacksViewsAndSwitchingConstraintsCollapsesAndMovesThem) {
    auto title = constrainedView(*container);
    auto label = std::make_shared<Label>();
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
    label->setNumberOfLines(0);
    label->setText("A line of text long enough to wrap onto a second line at this width");
    container->addSubview(label);
    auto footer = constrainedView(*container);

    on(title->topAnchor().constraintEqualTo(container->topAnchor(), 10));
    on(title->leadingAnchor().constraintEqualTo(container->leadingAnchor(), 16));
    on(title->trailingAnchor().constraintEqualTo(container->trailingAnchor(), -16));
    auto titleHeight = on(title->heightAnchor().constraintEqualToConstant(25));
    auto labelTop = on(label->topAnchor().constraintEqualTo(title->bottomAnchor(), 8));
    on(label->leadingAnchor().constraintEqualTo(container->leadingAnchor(), 16));
    on(label->widthAnchor().constraintEqualToConstant(150));
    auto footerToLabel = on(footer->topAnchor().constraintEqualTo(label->bottomAnchor(), 20));
    auto footerToTitle = footer->topAnchor().constraintEqualTo(title->bottomAnchor(), 30);
    on(footer->leadingAnchor().constraintEqualTo(container->leadingAnchor(), 16));
    on(footer->widthAnchor().constraintEqualToConstant(100));
    on(footer->heightAnchor().constraintEqualToConstant(40));
    on(footer->bottomAnchor().constraintEqualTo(container->bottomAnchor(), -12));

    auto height = ConstraintPlacement::placeSubviews(*container);
    EXPECT_EQ(title->frame(), (Rect{16, 10, 288, 25}));
    const double labelHeight = label->frame().height();
    EXPECT_GT(labelHeight, label->font().lineHeight() * 1.5) << "wrapped at its width";
    EXPECT_EQ(label->frame(), (Rect{16, 43, 150, labelHeight}));
    EXPECT_EQ(footer->frame(), (Rect{16, 43 + labelHeight + 20, 100, 40}));
    ASSERT_TRUE(height);
    EXPECT_DOUBLE_EQ(*height, 43 + labelHeight + 20 + 40 + 12);

    // The label's section goes away: its top is switched off and the footer re-attached.
    label->setHidden(true);
    labelTop->setActive(false);
    footerToLabel->setActive(false);
    footerToTitle->setActive(true);
    titleHeight->setConstant(0);
    height = ConstraintPlacement::placeSubviews(*container);
    EXPECT_EQ(title->frame(), (Rect{16, 10, 288, 0}));
    EXPECT_EQ(footer->frame(), (Rect{16, 40, 100, 40}));
    ASSERT_TRUE(height);
    EXPECT_DOUBLE_EQ(*height, 92);
}

TEST_F(ConstraintPlacementTest,
       TheHighestPriorityWinsAndTheFirstAmongEqualsSoALowFallbackHoldsOnlyWhileTheOtherIsOff) {
    auto view = constrainedView(*container);
    on(view->topAnchor().constraintEqualTo(container->topAnchor(), 5));
    auto fallback = view->heightAnchor().constraintEqualToConstant(0);
    fallback->setPriority(LayoutPriority::defaultLow);
    on(fallback);
    auto required = on(view->heightAnchor().constraintEqualToConstant(60));
    ConstraintPlacement::placeSubviews(*container);
    EXPECT_EQ(view->frame().height(), 60);

    required->setActive(false);
    ConstraintPlacement::placeSubviews(*container);
    EXPECT_EQ(view->frame().height(), 0);

    // Inequalities are not placement: only the equalities count.
    on(view->heightAnchor().constraintGreaterThanOrEqualToConstant(300));
    ConstraintPlacement::placeSubviews(*container);
    EXPECT_EQ(view->frame().height(), 0);

    // Among equals the first activated holds: a nib's own constraint beats one added later.
    on(view->heightAnchor().constraintEqualToConstant(45));
    on(view->heightAnchor().constraintEqualToConstant(70));
    ConstraintPlacement::placeSubviews(*container);
    EXPECT_EQ(view->frame().height(), 45);
}

TEST_F(ConstraintPlacementTest, SiblingsArePlacedBeforeTheyAreReadWhateverTheirOrder) {
    auto lower = constrainedView(*container);
    auto upper = constrainedView(*container);
    auto right = constrainedView(*container);
    auto centred = constrainedView(*container);
    on(lower->topAnchor().constraintEqualTo(upper->bottomAnchor(), 10));
    on(lower->heightAnchor().constraintEqualTo(upper->heightAnchor(), 2, 0));
    on(upper->topAnchor().constraintEqualTo(container->topAnchor(), 100));
    on(upper->heightAnchor().constraintEqualToConstant(20));
    on(right->trailingAnchor().constraintEqualTo(container->trailingAnchor(), -10));
    on(right->widthAnchor().constraintEqualToConstant(50));
    on(right->bottomAnchor().constraintEqualTo(lower->bottomAnchor()));
    on(right->heightAnchor().constraintEqualToConstant(30));
    on(centred->centerXAnchor().constraintEqualTo(container->centerXAnchor()));
    on(centred->centerYAnchor().constraintEqualTo(upper->centerYAnchor()));
    on(centred->widthAnchor().constraintEqualToConstant(40));
    on(centred->heightAnchor().constraintEqualToConstant(10));

    EXPECT_FALSE(ConstraintPlacement::placeSubviews(*container)) << "no bottom to the container";
    EXPECT_EQ(upper->frame().minY(), 100);
    EXPECT_EQ(lower->frame(), (Rect{0, 130, 0, 40}));
    EXPECT_EQ(right->frame(), (Rect{260, 140, 50, 30}));
    EXPECT_EQ(centred->frame(), (Rect{140, 105, 40, 10}));
}

TEST_F(ConstraintPlacementTest, GuidesNestedContainersAndCyclesArePlaced) {
    container->setSafeAreaInsets(EdgeInsets{44, 0, 34, 0});
    auto box = constrainedView(*container);
    on(box->topAnchor().constraintEqualTo(container->safeAreaLayoutGuide().topAnchor(), 6));
    on(box->leadingAnchor().constraintEqualTo(container->leadingAnchor(), 20));
    on(box->trailingAnchor().constraintEqualTo(container->trailingAnchor(), -20));
    on(box->heightAnchor().constraintEqualToConstant(100));
    auto inner = constrainedView(*box);
    on(inner->topAnchor().constraintEqualTo(box->topAnchor(), 10));
    on(inner->leadingAnchor().constraintEqualTo(box->leadingAnchor(), 10));
    on(inner->trailingAnchor().constraintEqualTo(box->trailingAnchor(), -10));
    on(inner->heightAnchor().constraintEqualToConstant(10));
    auto text = std::make_shared<TextView>();
    text->setTranslatesAutoresizingMaskIntoConstraints(false);
    text->setScrollEnabled(false);
    text->setText("One line");
    container->addSubview(text);
    on(text->topAnchor().constraintEqualTo(box->bottomAnchor()));
    on(text->leadingAnchor().constraintEqualTo(container->leadingAnchor()));
    on(text->widthAnchor().constraintEqualToConstant(300));

    // Two views that name each other keep what they had instead of looping.
    auto first = constrainedView(*container);
    auto second = constrainedView(*container);
    first->setFrame({1, 2, 3, 4});
    on(first->topAnchor().constraintEqualTo(second->bottomAnchor()));
    on(second->topAnchor().constraintEqualTo(first->bottomAnchor()));
    // Kept by frame: a view that translates its mask is not moved.
    auto manual = std::make_shared<View>(Rect{7, 7, 7, 7});
    container->addSubview(manual);

    ConstraintPlacement::placeSubviews(*container);
    EXPECT_EQ(box->frame(), (Rect{20, 50, 280, 100}));
    EXPECT_EQ(inner->frame(), (Rect{10, 10, 260, 10}));
    EXPECT_EQ(text->frame().minY(), 150);
    EXPECT_GT(text->frame().height(), 0);
    EXPECT_EQ(second->frame().minY(), 6) << "under first as it stood";
    EXPECT_EQ(manual->frame(), (Rect{7, 7, 7, 7}));
}

}  // namespace
}  // namespace uikit
