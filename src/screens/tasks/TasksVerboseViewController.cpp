#include "screens/tasks/TasksVerboseViewController.h"

#include "foundation/Localization.h"
#include "foundation/NotificationCenter.h"
#include "framework/tasks/KSVerboseConsoleFeed.h"
#include "uikit/BarButtonItem.h"
#include "uikit/Color.h"

namespace corvane {

using Feed = KSVerboseConsoleFeed;

TasksVerboseViewController::TasksVerboseViewController() {
    setTitle(foundation::localized("Console"));
}

void TasksVerboseViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    textView = std::make_shared<uikit::TextView>(view()->bounds());
    textView->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                                  uikit::Autoresizing::flexibleHeight);
    textView->setEditable(false);
    textView->setFont(uikit::Font::systemFont(kFontSize));
    textView->setBackgroundColor(uikit::Color::clear());
    if (palette())
        textView->setTextColor(palette()->primaryTextColor());
    textView->setAttributedText(consoleText_);
    view()->addSubview(textView);
    navigationItem()->setRightBarButtonItem(uikit::BarButtonItem::withTitle(
        foundation::localized("Done"), uikit::BarButtonItem::Style::done,
        [weak = weak_from_this()](uikit::BarButtonItem&) {
            if (auto self = weak.lock())
                self->dismiss(true);
        }));
}

void TasksVerboseViewController::viewWillAppear(bool animated) {
    KSPalettedViewController::viewWillAppear(animated);
    if (observation_)
        return;
    observation_ = foundation::NotificationCenter::defaultCenter().addObserver(
        Feed::kNotification,
        [weak = std::weak_ptr(std::static_pointer_cast<TasksVerboseViewController>(
             shared_from_this()))](const foundation::Notification& notification) {
            if (auto self = weak.lock())
                self->appendMessage(notification);
        },
        foundation::NotificationCenter::Delivery::MainQueue);
}

void TasksVerboseViewController::viewDidDisappear(bool animated) {
    KSPalettedViewController::viewDidDisappear(animated);
    // Covered by another screen it is still shown; closed, it is in no window any more.
    if (!containingWindow())
        observation_ = {};
}

void TasksVerboseViewController::paletteDidChange(const KSPalette& palette) {
    view()->setBackgroundColor(palette.backgroundColor());
    if (textView)
        textView->setTextColor(palette.primaryTextColor());
}

void TasksVerboseViewController::appendMessage(const foundation::Notification& notification) {
    const auto& info = notification.userInfo;
    uikit::TextAttributes attributes;
    if (info[Feed::kErrorKey].boolValue() || info[Feed::kIsStreamErrorKey].boolValue())
        attributes.foregroundColor = uikit::Color::systemRed();
    else if (info[Feed::kIsStreamWarningKey].boolValue())
        attributes.foregroundColor = uikit::Color::systemOrange();
    if (info[Feed::kIsForCommandKey].boolValue())
        attributes.font = uikit::Font::boldSystemFont(kFontSize);
    consoleText_.append(info[Feed::kMessageKey].stringValue() + "\n", attributes);
    if (textView) {
        textView->setAttributedText(consoleText_);
        showNewestLine();
    }
}

// The furthest offset the insets allow: a console shorter than the screen keeps its first line
// below the navigation bar instead of under it.
void TasksVerboseViewController::showNewestLine() {
    textView->setContentOffset({0, textView->maximumContentOffset().y});
}

}  // namespace corvane
