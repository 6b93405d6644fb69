#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/error/KSErrorDelegate.h"
#include "ui/error/KSErrorSelector.h"
#include "uikit/AlertController.h"
#include "uikit/Button.h"
#include "uikit/GestureRecognizer.h"
#include "uikit/Label.h"
#include "uikit/LayoutConstraint.h"
#include "uikit/ViewController.h"
#include "uikit/VisualEffectView.h"

namespace corvane {

// The system's own modal panel for errors, notices and yes/no confirmations: a title, a message
// and one or two buttons on a card over a dark blur. The first button closes it; the second
// closes it and then runs its action. A long press on the message copies it.
//
// Callers make it, set the delegate for a selector action, call showWithTitle, set the over-full-
// screen presentation style and present it. The texts are read when it is about to appear.
class ErrorViewController : public uikit::ViewController {
  public:
    static constexpr const char* kNibName = "ErrorViewController";
    static constexpr double kButtonCornerRadius = 15;
    static constexpr double kButtonGrey = 0.24;
    static constexpr double kColorAnimationDuration = 0.3;
    static constexpr double kLongPressDuration = 0.5;
    static constexpr double kCopiedNoticeDelay = 0.5;
    // The single button ends this far before the card's trailing edge (on a phone).
    static constexpr double kSingleButtonTrailingInset = 32;

    // Loaded from the nib "ErrorViewController".
    ErrorViewController();

    // Stores what the panel shows; presents nothing. The selector goes to the delegate.
    void showWithTitle(std::optional<std::string> title, std::optional<std::string> errorMessage,
                       std::int32_t numberOfButtons, std::optional<std::string> closeButtonText,
                       std::optional<std::string> otherButtonText,
                       KSErrorSelector otherButtonSelector);
    // The same with the second button's action as a block.
    void showWithTitle(std::optional<std::string> title, std::optional<std::string> errorMessage,
                       std::int32_t numberOfButtons, std::optional<std::string> closeButtonText,
                       std::optional<std::string> otherButtonText,
                       std::function<void()> otherButtonAction);

    std::shared_ptr<KSErrorDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<KSErrorDelegate> delegate) { delegate_ = std::move(delegate); }
    const std::optional<std::string>& titleTxt() const { return titleTxt_; }
    const std::optional<std::string>& errorTxt() const { return errorTxt_; }
    std::int32_t numberOfBtn() const { return numberOfBtn_; }
    const std::optional<std::string>& closeBtnTxt() const { return closeBtnTxt_; }
    const std::optional<std::string>& otherBtnTxt() const { return otherBtnTxt_; }

    // The first button's tap: closes the panel.
    void close();
    // The second button's tap: closes the panel, then sends the selector to the delegate when
    // it is alive and responds to it, else runs the block.
    void otherBtnAction();
    void handleLongPress(uikit::GestureRecognizer& recognizer);
    void dismissAlertController(const std::shared_ptr<uikit::AlertController>& alert);
    // The pressed look of the buttons: white while held, grey again once the finger leaves.
    void closeButtonHighlight();
    void closeButtonRelease();
    void otherButtonHighlight();
    void otherButtonRelease();

    uikit::StatusBarStyle preferredStatusBarStyle() const override {
        return uikit::StatusBarStyle::lightContent;
    }

    // Outlets, set by the nib.
    std::shared_ptr<uikit::VisualEffectView> blurredBackground;
    std::shared_ptr<uikit::View> containerView;
    std::shared_ptr<uikit::Label> errorTitle;
    std::shared_ptr<uikit::Label> errorLbl;
    std::shared_ptr<uikit::Button> closeBtn;
    std::shared_ptr<uikit::LayoutConstraint> closeBtnLeadingConstraint;
    std::shared_ptr<uikit::LayoutConstraint> closeBtnTrailingConstraint;
    std::shared_ptr<uikit::LayoutConstraint> closeBtnWidthConstraint;
    std::shared_ptr<uikit::Button> otherButton;
    std::shared_ptr<uikit::LayoutConstraint> otherButtonTrailingConstraint;

  protected:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

  private:
    void layOutTexts();
    void styleButton(uikit::Button& button, const std::optional<std::string>& title);
    void arrangeOneButton();
    void arrangeTwoButtons();
    // Without a constraint solver, the card and its buttons are placed here from what the
    // constraints say.
    void layOutPanel();
    static void animateBackground(const std::shared_ptr<uikit::Button>& button,
                                  const uikit::Color& color);
    void runOtherButtonAction();

    std::function<void()> otherButtonActionBlock_;
    std::weak_ptr<KSErrorDelegate> delegate_;
    std::optional<std::string> titleTxt_;
    std::optional<std::string> errorTxt_;
    std::int32_t numberOfBtn_ = 0;
    std::optional<std::string> closeBtnTxt_;
    std::optional<std::string> otherBtnTxt_;
    KSErrorSelector otherBtnAction_;
    // Made for a one-button panel: the first button's trailing edge against the card's.
    std::shared_ptr<uikit::LayoutConstraint> closeBtnSingleTrailingConstraint_;
};

}  // namespace corvane
