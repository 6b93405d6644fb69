#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/AlertAction.h"
#include "uikit/Button.h"
#include "uikit/ViewController.h"

namespace uikit {

// An alert or an action sheet: a title, a message and one button per action. A tapped button
// dismisses the alert and runs its action's handler once the alert has gone, as the system
// does. An action sheet on a pad is a popover, which wants an anchor.
class AlertController : public ViewController {
  public:
    // Raw values as the system numbers them.
    enum class Style { actionSheet = 0, alert = 1 };

    static std::shared_ptr<AlertController> create(std::optional<std::string> title,
                                                   std::optional<std::string> message, Style style);
    AlertController(std::optional<std::string> title, std::optional<std::string> message,
                    Style style);

    Style preferredStyle() const { return style_; }
    const std::optional<std::string>& message() const { return message_; }
    void setMessage(std::optional<std::string> message);

    void addAction(const std::shared_ptr<AlertAction>& action);
    const std::vector<std::shared_ptr<AlertAction>>& actions() const { return actions_; }
    // The action the return key would pick; only one of the alert's own actions.
    const std::shared_ptr<AlertAction>& preferredAction() const { return preferredAction_; }
    void setPreferredAction(const std::shared_ptr<AlertAction>& action);

    // The button a person taps for the action with the title; null when there is none.
    std::shared_ptr<Button> buttonForAction(const std::string& title);

  protected:
    void loadView() override;

  private:
    void rebuildContent();
    std::shared_ptr<Button> makeButton(const std::shared_ptr<AlertAction>& action);
    void actionTapped(const std::shared_ptr<AlertAction>& action);

    Style style_;
    std::optional<std::string> message_;
    std::vector<std::shared_ptr<AlertAction>> actions_;
    std::shared_ptr<AlertAction> preferredAction_;
    std::vector<std::pair<std::shared_ptr<AlertAction>, std::shared_ptr<Button>>> buttons_;
    bool actionChosen_ = false;
};

}  // namespace uikit
