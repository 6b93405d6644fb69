#include "screens/developers/KSProfileViews.h"

#include "uikit/Screen.h"

namespace corvane {

using uikit::Autoresizing;
using uikit::Font;

namespace {

constexpr double kMargin = 16;
constexpr double kAvatarTop = 24;
constexpr double kButtonHeight = 50;
constexpr double kSpacing = 12;

std::shared_ptr<uikit::Label> label(uikit::View& root, double top, const Font& font) {
    auto made = std::make_shared<uikit::Label>();
    made->setFrame({kMargin, top, root.bounds().width() - 2 * kMargin, font.lineHeight()});
    made->setAutoresizingMask(Autoresizing::flexibleWidth);
    made->setFont(font);
    made->setTextAlignment(uikit::TextAlignment::center);
    root.addSubview(made);
    return made;
}

}  // namespace

KSProfileViews KSProfileViews::build(const std::vector<std::string>& buttonTitles) {
    KSProfileViews views;
    views.root = std::make_shared<uikit::View>(uikit::Screen::main().bounds());
    views.root->setAutoresizingMask(Autoresizing::flexibleWidth | Autoresizing::flexibleHeight);
    auto& root = *views.root;
    views.avatar = std::make_shared<uikit::ImageView>();
    views.avatar->setFrame(
        {(root.bounds().width() - kAvatarSize) / 2, kAvatarTop, kAvatarSize, kAvatarSize});
    views.avatar->setAutoresizingMask(Autoresizing::flexibleLeftMargin |
                                      Autoresizing::flexibleRightMargin);
    views.avatar->setContentMode(uikit::ContentMode::scaleAspectFill);
    views.avatar->layer().setCornerRadius(kAvatarCornerRatio * kAvatarSize);
    views.avatar->setClipsToBounds(true);
    root.addSubview(views.avatar);
    views.nameLbl = label(root, views.avatar->frame().maxY() + kSpacing, Font::boldSystemFont(22));
    views.detailLbl = label(root, views.nameLbl->frame().maxY() + 4, Font::systemFont(15));
    views.detailLbl->setNumberOfLines(0);
    for (const auto& title : buttonTitles) {
        auto button = std::make_shared<uikit::Button>(uikit::ButtonType::custom);
        button->setTitle(title);
        button->titleLabel()->setFont(Font::boldSystemFont(17));
        button->setAutoresizingMask(Autoresizing::flexibleWidth);
        button->layer().setCornerRadius(10);
        root.addSubview(button);
        views.buttons.push_back(std::move(button));
    }
    arrange(*views.detailLbl, views.buttons);
    return views;
}

void KSProfileViews::arrange(uikit::Label& detail,
                             const std::vector<std::shared_ptr<uikit::Button>>& buttons) {
    auto frame = detail.frame();
    frame.size.height = detail.sizeThatFits({frame.width(), 0}).height;
    detail.setFrame(frame);
    double top = frame.maxY() + 2 * kSpacing;
    for (const auto& button : buttons) {
        if (button->isHidden())
            continue;
        button->setFrame({frame.minX(), top, frame.width(), kButtonHeight});
        top += kButtonHeight + kSpacing;
    }
}

void KSProfileViews::applyPalette(const KSPalette& palette, uikit::ImageView& avatar,
                                  uikit::Label& name, uikit::Label& detail,
                                  const std::vector<std::shared_ptr<uikit::Button>>& buttons) {
    avatar.setBackgroundColor(palette.foregroundColor());
    name.setTextColor(palette.primaryTextColor());
    detail.setTextColor(palette.secondaryTextColor());
    for (const auto& button : buttons) {
        button->setBackgroundColor(palette.tintColor());
        button->setTitleColor(uikit::Color::white());
    }
}

}  // namespace corvane
