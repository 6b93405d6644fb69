#include "uikit/AlertController.h"

#include <algorithm>

#include "uikit/AlertControllerView.h"
#include "uikit/Device.h"
#include "uikit/Label.h"
#include "uikit/Screen.h"

namespace uikit {

std::shared_ptr<AlertController> AlertController::create(std::optional<std::string> title,
                                                         std::optional<std::string> message,
                                                         Style style) {
    return std::make_shared<AlertController>(std::move(title), std::move(message), style);
}

AlertController::AlertController(std::optional<std::string> title,
                                 std::optional<std::string> message, Style style)
    : style_(style), message_(std::move(message)) {
    setTitle(std::move(title));
    bool pad = Device::current().userInterfaceIdiom() == UserInterfaceIdiom::pad;
    setModalPresentationStyle(style == Style::actionSheet && pad
                                  ? ModalPresentationStyle::popover
                                  : ModalPresentationStyle::overFullScreen);
}

void AlertController::setMessage(std::optional<std::string> message) {
    message_ = std::move(message);
    rebuildContent();
}

void AlertController::addAction(const std::shared_ptr<AlertAction>& action) {
    if (!action)
        return;
    actions_.push_back(action);
    rebuildContent();
}

void AlertController::setPreferredAction(const std::shared_ptr<AlertAction>& action) {
    if (action && std::find(actions_.begin(), actions_.end(), action) == actions_.end())
        return;
    preferredAction_ = action;
}

std::shared_ptr<Button> AlertController::buttonForAction(const std::string& title) {
    loadViewIfNeeded();
    for (auto& [action, button] : buttons_)
        if (action->title() == title)
            return button;
    return nullptr;
}

void AlertController::loadView() {
    setView(std::make_shared<AlertControllerView>(Screen::main().bounds(),
                                                  style_ == Style::actionSheet));
    rebuildContent();
}

// The card is made again whenever the title, message or actions change; an action sheet shows
// its cancel action last.
void AlertController::rebuildContent() {
    auto card = viewIfLoaded();
    if (!card)
        return;
    for (auto& subview : std::vector(card->subviews()))
        subview->removeFromSuperview();
    buttons_.clear();
    for (const auto& text : {title(), message_}) {
        if (!text)
            continue;
        auto label = std::make_shared<Label>();
        label->setText(*text);
        label->setNumberOfLines(0);
        label->setTextAlignment(TextAlignment::center);
        card->addSubview(label);
    }
    auto ordered = actions_;
    if (style_ == Style::actionSheet)
        std::stable_partition(ordered.begin(), ordered.end(), [](const auto& action) {
            return action->style() != AlertAction::Style::cancel;
        });
    for (const auto& action : ordered) {
        buttons_.emplace_back(action, makeButton(action));
        card->addSubview(buttons_.back().second);
    }
    card->setNeedsLayout();
}

std::shared_ptr<Button> AlertController::makeButton(const std::shared_ptr<AlertAction>& action) {
    auto button = std::make_shared<Button>(ButtonType::system);
    button->setTitle(action->title());
    if (action->style() == AlertAction::Style::destructive)
        button->setTitleColor(Color::systemRed());
    button->setEnabled(action->isEnabled());
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    std::weak_ptr<AlertAction> weakAction = action;
    button->addAction(
        [weakSelf, weakAction](Control&) {
            auto self = std::static_pointer_cast<AlertController>(weakSelf.lock());
            auto chosen = weakAction.lock();
            if (self && chosen)
                self->actionTapped(chosen);
        },
        ControlEvent::touchUpInside);
    return button;
}

void AlertController::actionTapped(const std::shared_ptr<AlertAction>& action) {
    if (actionChosen_ || !action->isEnabled())
        return;
    actionChosen_ = true;
    dismiss(true, [action] { action->runHandler(); });
}

}  // namespace uikit
