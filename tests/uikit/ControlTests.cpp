#include <gtest/gtest.h>

#include "uikit/ActivityIndicatorView.h"
#include "uikit/Button.h"
#include "uikit/Hands.h"
#include "uikit/PickerView.h"
#include "uikit/ProgressView.h"
#include "uikit/SegmentedControl.h"
#include "uikit/Switch.h"
#include "uikit/TextField.h"
#include "uikit/TouchSequence.h"

namespace {

using namespace uikit;

std::shared_ptr<View> screenWith(const std::shared_ptr<View>& view, Rect frame) {
    auto root = std::make_shared<View>(Rect{0, 0, 375, 667});
    view->setFrame(frame);
    root->addSubview(view);
    return root;
}

TEST(Button, TitlesPerStateFallBackToNormal) {
    Button button(ButtonType::system);
    button.setTitle("GET");
    button.setTitle("Working", ControlStates::disabled);
    button.setTitleColor(Color::white(), ControlStates::highlighted);
    EXPECT_EQ(button.currentTitle(), "GET");
    EXPECT_EQ(button.currentTitleColor(), button.tintColor());
    button.setHighlighted(true);
    EXPECT_EQ(button.currentTitle(), "GET");
    EXPECT_EQ(button.currentTitleColor(), Color::white());
    button.setHighlighted(false);
    button.setEnabled(false);
    EXPECT_EQ(button.titleLabel()->text(), "Working");
    EXPECT_EQ(button.describe(), "Button \"Working\" disabled\n");
    EXPECT_EQ(Button(ButtonType::contactAdd).describe(), "Button (add)\n");
}

TEST(Button, TouchesUpInsideAndOutsideAndNotWhenDisabled) {
    auto button = std::make_shared<Button>();
    auto root = screenWith(button, {50, 50, 100, 40});
    std::vector<std::string> events;
    button->addAction([&](Control&) { events.push_back("down"); }, ControlEvent::touchDown);
    auto upInside = button->addAction([&](Control&) { events.push_back("inside"); },
                                      ControlEvent::touchUpInside);
    button->addAction([&](Control&) { events.push_back("outside"); }, ControlEvent::touchUpOutside);

    hands::tap(button);
    TouchSequence dragAway(root, {100, 70});
    EXPECT_TRUE(button->isHighlighted());
    dragAway.moveTo({100, 300});
    EXPECT_FALSE(button->isHighlighted());
    dragAway.end();
    EXPECT_EQ(events, (std::vector<std::string>{"down", "inside", "down", "outside"}));

    button->removeAction(upInside);
    button->setEnabled(false);
    hands::tap(button);
    EXPECT_EQ(events.size(), 4u);
}

TEST(Controls, SwitchAndSegmentsAnswerTapsButNotCode) {
    auto toggle = std::make_shared<Switch>();
    auto root = screenWith(toggle, {10, 10, 51, 31});
    int changes = 0;
    toggle->addAction([&](Control&) { ++changes; }, ControlEvent::valueChanged);
    toggle->setOn(true, true);
    EXPECT_EQ(changes, 0);
    hands::tap(toggle);
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(changes, 1);

    auto segments =
        std::make_shared<SegmentedControl>(std::vector<std::string>{"All", "Paid", "Free"});
    root->addSubview(segments);
    segments->setFrame({0, 100, 300, 32});
    segments->setSelectedSegmentIndex(0);
    segments->addAction([&](Control&) { ++changes; }, ControlEvent::valueChanged);
    hands::tapAt(segments, {250, 16});
    EXPECT_EQ(segments->selectedSegmentIndex(), 2);
    EXPECT_EQ(changes, 2);
    hands::tapAt(segments, {260, 16});  // already selected: no change
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(segments->describe(), "SegmentedControl [\"All\", \"Paid\", *\"Free\"]\n");
    segments->setSelectedSegmentIndex(7);
    EXPECT_EQ(segments->selectedSegmentIndex(), SegmentedControl::kNoSegment);
}

TEST(Controls, TypingGoesThroughTheDelegate) {
    struct DigitsOnly : TextFieldDelegate {
        int began = 0;
        bool textFieldShouldChangeCharacters(TextField&, TextRange, const std::string& s) override {
            return s.empty() || std::isdigit(static_cast<unsigned char>(s[0]));
        }
        void textFieldDidBeginEditing(TextField&) override { ++began; }
    };
    auto field = std::make_shared<TextField>();
    auto root = screenWith(field, {0, 0, 200, 30});
    auto delegate = std::make_shared<DigitsOnly>();
    field->setDelegate(delegate);
    field->setPlaceholder("Amount");
    EXPECT_EQ(field->describe(), "TextField placeholder \"Amount\"\n");
    int changed = 0;
    field->addAction([&](Control&) { ++changed; }, ControlEvent::editingChanged);

    EXPECT_TRUE(hands::typeText(field, "1a2b3"));
    EXPECT_EQ(field->text(), "123");
    EXPECT_EQ(changed, 3);
    EXPECT_EQ(delegate->began, 1);
    EXPECT_TRUE(field->isEditing());
    field->deleteBackward();
    EXPECT_EQ(field->text(), "12");
    root->endEditing();
    EXPECT_FALSE(field->isEditing());

    auto other = std::make_shared<TextField>();
    other->setText("héllo");
    other->becomeFirstResponder();
    other->deleteBackward();
    other->deleteBackward();
    other->deleteBackward();
    other->deleteBackward();
    EXPECT_EQ(other->text(), "h");
}

TEST(Controls, PickerAsksItsSourceAndTellsItsDelegateOnlyForPeople) {
    struct Months : PickerViewDataSource, PickerViewDelegate {
        std::vector<int> picked;
        int numberOfComponents(PickerView&) override { return 1; }
        int numberOfRows(PickerView&, int) override { return 12; }
        std::optional<AttributedString> attributedTitleForRow(PickerView&, int row, int) override {
            return AttributedString("Month " + std::to_string(row + 1));
        }
        void didSelectRow(PickerView&, int row, int) override { picked.push_back(row); }
    };
    auto months = std::make_shared<Months>();
    PickerView picker;
    picker.setDelegate(months);
    picker.setDataSource(months);
    EXPECT_EQ(picker.numberOfRows(0), 12);
    picker.selectRow(3, 0);
    picker.selectRow(30, 0);
    EXPECT_EQ(picker.selectedRow(0), 3);
    EXPECT_TRUE(months->picked.empty());
    picker.spinToRow(5, 0);
    EXPECT_EQ(months->picked, std::vector<int>{5});
    EXPECT_EQ(picker.describe(), "PickerView [\"Month 6\"]\n");
}

TEST(Controls, ProgressAndSpinner) {
    ProgressView progress;
    progress.setProgress(1.7, true);
    EXPECT_EQ(progress.progress(), 1);
    progress.setProgress(-2);
    EXPECT_EQ(progress.progress(), 0);
    progress.setProgress(std::nan(""));
    EXPECT_EQ(progress.progress(), 0);
    progress.setProgress(0.426);
    EXPECT_EQ(progress.describe(), "ProgressView 43%\n");

    ActivityIndicatorView spinner;
    EXPECT_TRUE(spinner.isHidden());
    spinner.startAnimating();
    EXPECT_TRUE(spinner.isAnimating());
    EXPECT_EQ(spinner.describe(), "ActivityIndicator animating\n");
    spinner.stopAnimating();
    EXPECT_EQ(spinner.describe(), "");
}

}  // namespace
