#include "uikit/ActivityViewController.h"

#include <algorithm>

#include "uikit/AlertControllerView.h"
#include "uikit/Device.h"
#include "uikit/Label.h"
#include "uikit/Screen.h"

namespace uikit {

namespace {

const std::vector<std::string>& systemActivities() {
    static const std::vector<std::string> activities = {
        ActivityViewController::kActivityTypeAirDrop,
        ActivityViewController::kActivityTypeMessage,
        ActivityViewController::kActivityTypeMail,
        ActivityViewController::kActivityTypeCopyToPasteboard,
        ActivityViewController::kActivityTypePrint,
        ActivityViewController::kActivityTypeAssignToContact,
        ActivityViewController::kActivityTypeSaveToCameraRoll,
        ActivityViewController::kActivityTypeOpenInIBooks,
        ActivityViewController::kActivityTypeMarkupAsPDF,
    };
    return activities;
}

}  // namespace

ActivityViewController::ActivityViewController(std::vector<ActivityItem> items)
    : items_(std::move(items)) {
    bool pad = Device::current().userInterfaceIdiom() == UserInterfaceIdiom::pad;
    setModalPresentationStyle(pad ? ModalPresentationStyle::popover
                                  : ModalPresentationStyle::overFullScreen);
}

void ActivityViewController::setExcludedActivityTypes(std::vector<std::string> types) {
    excluded_ = std::move(types);
    rebuildContent();
}

std::vector<std::string> ActivityViewController::availableActivityTypes() const {
    std::vector<std::string> available;
    for (const auto& activity : systemActivities())
        if (std::find(excluded_.begin(), excluded_.end(), activity) == excluded_.end())
            available.push_back(activity);
    return available;
}

std::shared_ptr<Button> ActivityViewController::buttonForActivity(
    const std::optional<std::string>& activityType) {
    loadViewIfNeeded();
    for (auto& [activity, button] : buttons_)
        if (activity == activityType)
            return button;
    return nullptr;
}

void ActivityViewController::loadView() {
    setView(std::make_shared<AlertControllerView>(Screen::main().bounds(), true));
    rebuildContent();
}

void ActivityViewController::rebuildContent() {
    auto sheet = viewIfLoaded();
    if (!sheet)
        return;
    for (auto& subview : std::vector(sheet->subviews()))
        subview->removeFromSuperview();
    buttons_.clear();
    if (title()) {
        auto label = std::make_shared<Label>();
        label->setText(*title());
        sheet->addSubview(label);
    }
    std::vector<std::optional<std::string>> choices;
    for (auto& activity : availableActivityTypes())
        choices.emplace_back(activity);
    choices.emplace_back(std::nullopt);
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    for (auto& choice : choices) {
        auto button = std::make_shared<Button>(ButtonType::system);
        button->setTitle(choice.value_or("Cancel"));
        button->addAction(
            [weakSelf, choice](Control&) {
                if (auto self = std::static_pointer_cast<ActivityViewController>(weakSelf.lock()))
                    self->choose(choice);
            },
            ControlEvent::touchUpInside);
        buttons_.emplace_back(choice, button);
        sheet->addSubview(button);
    }
    sheet->setNeedsLayout();
}

void ActivityViewController::choose(std::optional<std::string> activityType) {
    if (chosen_)
        return;
    chosen_ = true;
    auto handler = completionHandler_;
    dismiss(true, [handler, activityType] {
        if (handler)
            handler(activityType, activityType.has_value());
    });
}

}  // namespace uikit
