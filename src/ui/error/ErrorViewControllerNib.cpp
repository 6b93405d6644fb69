#include "ui/error/ErrorViewControllerNib.h"

#include "ui/error/ErrorViewController.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"

namespace corvane {

using uikit::Button;
using uikit::Color;
using uikit::LayoutConstraint;

namespace {

constexpr double kButtonInset = 32;
constexpr double kButtonGap = 16;

std::shared_ptr<uikit::Label> makeLabel(const uikit::Font& font, const Color& color) {
    auto label = std::make_shared<uikit::Label>();
    label->setFont(font);
    label->setTextColor(color);
    label->setTextAlignment(uikit::TextAlignment::center);
    label->setNumberOfLines(0);
    return label;
}

std::shared_ptr<Button> makeButton() {
    auto button = std::make_shared<Button>(uikit::ButtonType::custom);
    button->setTitleColor(Color::white());
    button->titleLabel()->setFont(uikit::Font::systemFont(17, uikit::FontWeight::semibold));
    return button;
}

template <typename Panel, typename Method>
void wireTap(Button& button, const std::shared_ptr<Panel>& panel, Method method) {
    std::weak_ptr<Panel> weakPanel = panel;
    button.addAction(
        [weakPanel, method](uikit::Control&) {
            if (auto panel = weakPanel.lock())
                ((*panel).*method)();
        },
        uikit::ControlEvent::touchUpInside);
}

void makeConstraints(ErrorViewController& panel) {
    const auto& close = *panel.closeBtn;
    const auto& other = *panel.otherButton;
    const auto& card = *panel.containerView;
    panel.closeBtnLeadingConstraint =
        close.leadingAnchor().constraintEqualTo(card.leadingAnchor(), kButtonInset);
    panel.closeBtnTrailingConstraint =
        close.trailingAnchor().constraintEqualTo(other.leadingAnchor(), -kButtonGap);
    panel.closeBtnWidthConstraint = close.widthAnchor().constraintEqualTo(other.widthAnchor());
    panel.otherButtonTrailingConstraint =
        card.trailingAnchor().constraintEqualTo(other.trailingAnchor(), kButtonInset);
    LayoutConstraint::activate({panel.closeBtnLeadingConstraint, panel.closeBtnTrailingConstraint,
                                panel.closeBtnWidthConstraint,
                                panel.otherButtonTrailingConstraint});
}

}  // namespace

void ErrorViewControllerNib::registerNib() {
    uikit::NibRegistry::shared().registerNib(ErrorViewController::kNibName, &build);
}

std::shared_ptr<uikit::View> ErrorViewControllerNib::build(
    const std::shared_ptr<uikit::ViewController>& owner) {
    const uikit::Rect screen = uikit::Screen::main().bounds();
    auto root = std::make_shared<uikit::View>(screen);
    root->setBackgroundColor(Color::clear());
    root->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                              uikit::Autoresizing::flexibleHeight);

    auto blur = std::make_shared<uikit::VisualEffectView>(uikit::BlurEffectStyle::dark);
    blur->setFrame(root->bounds());
    blur->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                              uikit::Autoresizing::flexibleHeight);
    root->addSubview(blur);

    auto card = std::make_shared<uikit::View>(uikit::Rect{16, 0, screen.width() - 32, 0});
    card->setBackgroundColor(Color::white(0.11));
    card->layer().setCornerRadius(20);
    root->addSubview(card);

    auto title = makeLabel(uikit::Font::boldSystemFont(20), Color::white());
    auto message = makeLabel(uikit::Font::systemFont(15), Color::white(0.85));
    message->setUserInteractionEnabled(true);
    auto close = makeButton();
    auto other = makeButton();
    for (const auto& subview :
         std::initializer_list<std::shared_ptr<uikit::View>>{title, message, close, other})
        card->addSubview(subview);

    auto panel = std::dynamic_pointer_cast<ErrorViewController>(owner);
    if (!panel)
        return root;
    panel->blurredBackground = blur;
    panel->containerView = card;
    panel->errorTitle = title;
    panel->errorLbl = message;
    panel->closeBtn = close;
    panel->otherButton = other;
    makeConstraints(*panel);
    wireTap(*close, panel, &ErrorViewController::close);
    wireTap(*other, panel, &ErrorViewController::otherBtnAction);
    return root;
}

}  // namespace corvane
