#include "ui/error/ErrorViewController.h"

#include <algorithm>

#include "foundation/Dispatch.h"
#include "foundation/Localization.h"
#include "ui/error/ErrorViewControllerNib.h"
#include "uikit/Animation.h"
#include "uikit/Device.h"
#include "uikit/LongPressGestureRecognizer.h"
#include "uikit/Pasteboard.h"
#include "uikit/Screen.h"

namespace corvane {

using uikit::Color;
using uikit::ControlEvent;

namespace {

constexpr double kTextInset = 20;
constexpr double kTopPadding = 24;
constexpr double kTextSpacing = 12;
constexpr double kButtonsSpacing = 24;
constexpr double kButtonHeight = 44;
constexpr double kBottomPadding = 24;

bool isPad() {
    return uikit::Device::current().userInterfaceIdiom() == uikit::UserInterfaceIdiom::pad;
}

double quarterScreenWidth() {
    return uikit::Screen::main().bounds().width() / 4;
}

}  // namespace

ErrorViewController::ErrorViewController() : ViewController(kNibName) {
    ErrorViewControllerNib::registerNib();
}

void ErrorViewController::showWithTitle(std::optional<std::string> title,
                                        std::optional<std::string> errorMessage,
                                        std::int32_t numberOfButtons,
                                        std::optional<std::string> closeButtonText,
                                        std::optional<std::string> otherButtonText,
                                        KSErrorSelector otherButtonSelector) {
    titleTxt_ = std::move(title);
    errorTxt_ = std::move(errorMessage);
    numberOfBtn_ = numberOfButtons;
    closeBtnTxt_ = std::move(closeButtonText);
    otherBtnTxt_ = std::move(otherButtonText);
    otherBtnAction_ = std::move(otherButtonSelector);
}

void ErrorViewController::showWithTitle(std::optional<std::string> title,
                                        std::optional<std::string> errorMessage,
                                        std::int32_t numberOfButtons,
                                        std::optional<std::string> closeButtonText,
                                        std::optional<std::string> otherButtonText,
                                        std::function<void()> otherButtonAction) {
    titleTxt_ = std::move(title);
    errorTxt_ = std::move(errorMessage);
    numberOfBtn_ = numberOfButtons;
    closeBtnTxt_ = std::move(closeButtonText);
    otherBtnTxt_ = std::move(otherButtonText);
    otherButtonActionBlock_ = std::move(otherButtonAction);
}

void ErrorViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    auto self = [weakSelf] {
        return std::static_pointer_cast<ErrorViewController>(weakSelf.lock());
    };
    auto longPress =
        std::make_shared<uikit::LongPressGestureRecognizer>([self](uikit::GestureRecognizer& r) {
            if (auto panel = self())
                panel->handleLongPress(r);
        });
    longPress->setMinimumPressDuration(kLongPressDuration);
    errorLbl->addGestureRecognizer(longPress);

    // Wired once here rather than at every appearance, so that a panel shown again never runs
    // its pressed-state animations twice.
    auto on = [self](void (ErrorViewController::*method)()) {
        return [self, method](uikit::Control&) {
            if (auto panel = self())
                ((*panel).*method)();
        };
    };
    closeBtn->addAction(on(&ErrorViewController::closeButtonHighlight), ControlEvent::touchDown);
    closeBtn->addAction(on(&ErrorViewController::closeButtonRelease), ControlEvent::touchUpOutside);
    otherButton->addAction(on(&ErrorViewController::otherButtonHighlight), ControlEvent::touchDown);
    otherButton->addAction(on(&ErrorViewController::otherButtonRelease),
                           ControlEvent::touchUpOutside);
}

void ErrorViewController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    if (uikit::Device::current().systemVersionAtLeast("13.0"))
        setOverrideUserInterfaceStyle(uikit::UserInterfaceStyle::dark);
    setNeedsStatusBarAppearanceUpdate();
    layOutTexts();
    styleButton(*closeBtn, closeBtnTxt_);
    if (numberOfBtn_ == 1)
        arrangeOneButton();
    else if (numberOfBtn_ == 2)
        arrangeTwoButtons();
    layOutPanel();
    view()->layoutIfNeeded();
}

void ErrorViewController::layOutTexts() {
    const double width = containerView->bounds().width() - 2 * kTextInset;
    double y = kTopPadding;
    for (auto [label, text] :
         {std::pair{errorTitle, &titleTxt_}, std::pair{errorLbl, &errorTxt_}}) {
        label->setText(text->value_or(""));
        label->setNumberOfLines(0);
        label->setFrame({kTextInset, y, width, 0});
        label->sizeToFit();
        label->setFrame({kTextInset, y, width, label->bounds().height()});
        y += label->bounds().height() + kTextSpacing;
    }
}

void ErrorViewController::styleButton(uikit::Button& button,
                                      const std::optional<std::string>& title) {
    button.layer().setCornerRadius(kButtonCornerRadius);
    button.setTitle(title, uikit::ControlStates::normal);
    button.titleLabel()->setAdjustsFontSizeToFitWidth(true);
    button.setBackgroundColor(Color::white(kButtonGrey));
    button.setTitleColor(Color::darkGray(), uikit::ControlStates::highlighted);
}

void ErrorViewController::arrangeOneButton() {
    otherButton->setHidden(true);
    closeBtnTrailingConstraint->setActive(false);
    closeBtnWidthConstraint->setActive(false);
    const double constant = isPad() ? -quarterScreenWidth() : -kSingleButtonTrailingInset;
    if (!closeBtnSingleTrailingConstraint_)
        closeBtnSingleTrailingConstraint_ = uikit::LayoutConstraint::make(
            closeBtn.get(), uikit::LayoutAttribute::trailing, uikit::LayoutRelation::equal,
            containerView.get(), uikit::LayoutAttribute::trailing, 1, constant);
    else
        closeBtnSingleTrailingConstraint_->setConstant(constant);
    containerView->addConstraint(closeBtnSingleTrailingConstraint_);
    if (isPad())
        closeBtnLeadingConstraint->setConstant(quarterScreenWidth());
}

void ErrorViewController::arrangeTwoButtons() {
    if (isPad()) {
        closeBtnLeadingConstraint->setConstant(quarterScreenWidth());
        otherButtonTrailingConstraint->setConstant(quarterScreenWidth());
    }
    styleButton(*otherButton, otherBtnTxt_);
}

void ErrorViewController::layOutPanel() {
    const double cardWidth = containerView->bounds().width();
    const double buttonsY = errorLbl->frame().maxY() + kButtonsSpacing;
    const double leading = closeBtnLeadingConstraint->constant();
    if (closeBtnSingleTrailingConstraint_ && closeBtnSingleTrailingConstraint_->isActive()) {
        const double trailing = cardWidth + closeBtnSingleTrailingConstraint_->constant();
        closeBtn->setFrame({leading, buttonsY, std::max(0.0, trailing - leading), kButtonHeight});
    } else {
        const double trailing = cardWidth - otherButtonTrailingConstraint->constant();
        const double gap = -closeBtnTrailingConstraint->constant();
        const double width = std::max(0.0, (trailing - leading - gap) / 2);
        closeBtn->setFrame({leading, buttonsY, width, kButtonHeight});
        otherButton->setFrame({leading + width + gap, buttonsY, width, kButtonHeight});
    }
    const double cardHeight = buttonsY + kButtonHeight + kBottomPadding;
    const auto& bounds = view()->bounds();
    containerView->setFrame({containerView->frame().origin.x, (bounds.height() - cardHeight) / 2,
                             cardWidth, cardHeight});
}

void ErrorViewController::close() {
    dismiss(true);
}

void ErrorViewController::otherBtnAction() {
    auto self = std::static_pointer_cast<ErrorViewController>(shared_from_this());
    dismiss(true, [self] { self->runOtherButtonAction(); });
}

void ErrorViewController::runOtherButtonAction() {
    if (otherBtnAction_)
        if (auto receiver = delegate_.lock(); receiver && otherBtnAction_.sendTo(*receiver))
            return;
    if (otherButtonActionBlock_)
        otherButtonActionBlock_();
}

void ErrorViewController::handleLongPress(uikit::GestureRecognizer& recognizer) {
    if (recognizer.state() != uikit::GestureRecognizer::State::began)
        return;
    uikit::Pasteboard::general().setString(errorLbl->text());
    auto alert = uikit::AlertController::create(foundation::localized("The error has been copied"),
                                                std::nullopt, uikit::AlertController::Style::alert);
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    std::weak_ptr<uikit::AlertController> weakAlert = alert;
    present(alert, true, [weakSelf, weakAlert] {
        foundation::runOnMainAfter(kCopiedNoticeDelay, [weakSelf, weakAlert] {
            auto self = std::static_pointer_cast<ErrorViewController>(weakSelf.lock());
            if (auto shown = weakAlert.lock(); self && shown)
                self->dismissAlertController(shown);
        });
    });
}

void ErrorViewController::dismissAlertController(
    const std::shared_ptr<uikit::AlertController>& alert) {
    alert->dismiss(true);
}

void ErrorViewController::animateBackground(const std::shared_ptr<uikit::Button>& button,
                                            const Color& color) {
    uikit::Animation::animate(kColorAnimationDuration,
                              [button, color] { button->setBackgroundColor(color); });
}

void ErrorViewController::closeButtonHighlight() {
    animateBackground(closeBtn, Color::white());
}

void ErrorViewController::closeButtonRelease() {
    animateBackground(closeBtn, Color::white(kButtonGrey));
}

void ErrorViewController::otherButtonHighlight() {
    animateBackground(otherButton, Color::white());
}

void ErrorViewController::otherButtonRelease() {
    animateBackground(otherButton, Color::white(kButtonGrey));
}

}  // namespace corvane
