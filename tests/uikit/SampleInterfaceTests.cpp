// A small package row, built the way screens build theirs (a nib builder setting outlets),
// driven and read as a person would.
#include <gtest/gtest.h>

#include "support/MainLoop.h"
#include "uikit/Animation.h"
#include "uikit/Button.h"
#include "uikit/Hands.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/LongPressGestureRecognizer.h"
#include "uikit/NibRegistry.h"
#include "uikit/SelectionFeedbackGenerator.h"

namespace {

using namespace uikit;
using testing_support::advanceClock;

class PackageRow : public View {
  public:
    std::shared_ptr<ImageView> iconView;
    std::shared_ptr<Label> nameLbl;
    std::shared_ptr<Label> descriptionLbl;
    std::shared_ptr<Button> getBtn;
    std::shared_ptr<LayoutConstraint> getBtnWidthConstraint;
    std::vector<std::string> log;

    void wireUp() {
        getBtn->addAction([this](Control&) { log.push_back("queue"); },
                          ControlEvent::touchUpInside);
        auto press = std::make_shared<LongPressGestureRecognizer>([this](GestureRecognizer& r) {
            if (r.state() != GestureRecognizer::State::began)
                return;
            SelectionFeedbackGenerator feedback;
            feedback.prepare();
            feedback.selectionChanged();
            log.push_back("options");
            Animation::animate(
                0.25, [this] { getBtn->setTransform(AffineTransform::makeScale(0.9, 0.9)); },
                [this](bool) { getBtn->setTransform({}); });
        });
        press->setMinimumPressDuration(0.2);
        getBtn->addGestureRecognizer(press);
    }
};

void registerRowNib() {
    NibRegistry::shared().registerNib("PackageRow", [](const auto&) {
        auto row = std::make_shared<PackageRow>();
        row->setFrame({0, 0, 375, 80});
        row->iconView =
            std::make_shared<ImageView>(Image::withColor(Color::systemBlue(), {60, 60}));
        row->iconView->setFrame({16, 10, 60, 60});
        row->nameLbl = std::make_shared<Label>(Rect{88, 10, 200, 20});
        row->descriptionLbl = std::make_shared<Label>(Rect{88, 34, 200, 36});
        row->descriptionLbl->setNumberOfLines(3);
        row->getBtn = std::make_shared<Button>(ButtonType::system);
        row->getBtn->setFrame({295, 25, 64, 30});
        for (auto view : std::vector<std::shared_ptr<View>>{row->iconView, row->nameLbl,
                                                            row->descriptionLbl, row->getBtn})
            row->addSubview(view);
        row->getBtnWidthConstraint = row->getBtn->widthAnchor().constraintEqualToConstant(64);
        row->getBtnWidthConstraint->setActive(true);
        row->wireUp();
        return row;
    });
}

std::shared_ptr<PackageRow> makeRow() {
    registerRowNib();
    return std::static_pointer_cast<PackageRow>(NibRegistry::shared().instantiate("PackageRow"));
}

TEST(SampleInterface, APersonReadsTapsAndLongPressesARow) {
    auto row = makeRow();
    row->nameLbl->setText("Sample Tweak");
    row->descriptionLbl->setText("Does a small thing.");
    row->getBtn->setTitle("GET");
    row->iconView->layer().setCornerRadius(0.25 * row->iconView->frame().height());
    row->iconView->layer().setContinuousCorners(true);
    EXPECT_EQ(row->iconView->layer().cornerRadius(), 15);
    EXPECT_EQ(row->describe(),
              "View\n"
              "  ImageView [image 60x60]\n"
              "  Label \"Sample Tweak\"\n"
              "  Label \"Does a small thing.\"\n"
              "  Button \"GET\"\n");

    EXPECT_TRUE(hands::tap(row->getBtn));
    EXPECT_EQ(row->log, std::vector<std::string>{"queue"});

    int before = SelectionFeedbackGenerator::selectionChangedCount();
    EXPECT_TRUE(hands::longPress(row->getBtn, 0.3));
    EXPECT_EQ(row->log, (std::vector<std::string>{"queue", "options"}));
    EXPECT_EQ(SelectionFeedbackGenerator::selectionChangedCount(), before + 1);
    EXPECT_FALSE(row->getBtn->transform().isIdentity());
    advanceClock(0.3);
    EXPECT_TRUE(row->getBtn->transform().isIdentity());

    // The title sets the button's width through its kept constraint.
    row->getBtn->setTitle("UNINSTALL");
    row->getBtnWidthConstraint->setConstant(row->getBtn->intrinsicContentSize().width + 20);
    EXPECT_GT(row->getBtnWidthConstraint->constant(), 84);

    row->descriptionLbl->setHidden(true);
    EXPECT_EQ(row->describe().find("Does a small thing."), std::string::npos);
}

}  // namespace
