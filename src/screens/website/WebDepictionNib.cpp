#include "screens/website/WebDepictionNib.h"

#include <string>

#include "foundation/Localization.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"
#include "uikit/ViewController.h"

namespace corvane {

namespace {

using uikit::LayoutConstraint;
using uikit::View;
using Constraint = std::shared_ptr<LayoutConstraint>;

constexpr double kMargin = WebDepictionNib::kMargin;
constexpr double kCaptionWidth = 140;
constexpr double kRowHeight = 25;

// Keeps the progress bar right under whatever bar covers the top of the page.
class WebDepictionRootView : public View {
  public:
    using View::View;
    std::weak_ptr<uikit::ProgressView> progressView;

    void layoutSubviews() override {
        if (auto progress = progressView.lock())
            progress->setFrame({0, safeAreaInsets().top, bounds().width(), 2});
    }
};

Constraint on(Constraint constraint) {
    constraint->setActive(true);
    return constraint;
}

template <typename T>
std::shared_ptr<T>& add(std::shared_ptr<T>& outlet, View& container) {
    outlet = std::make_shared<T>();
    outlet->setTranslatesAutoresizingMaskIntoConstraints(false);
    container.addSubview(outlet);
    return outlet;
}

std::shared_ptr<uikit::Label>& label(std::shared_ptr<uikit::Label>& outlet, View& container,
                                     const std::string& text, const uikit::Font& font) {
    add(outlet, container);
    outlet->setText(foundation::localized(text));
    outlet->setFont(font);
    return outlet;
}

void buildHeader(WebDepictionOutlets& o, View& content) {
    add(o.iconView, content);
    o.iconView->setContentMode(uikit::ContentMode::scaleAspectFit);
    on(o.iconView->topAnchor().constraintEqualTo(content.topAnchor(), 20));
    on(o.iconView->leadingAnchor().constraintEqualTo(content.leadingAnchor(), kMargin));
    o.iconViewWidthConstraint = on(o.iconView->widthAnchor().constraintEqualToConstant(80));
    o.iconViewHeightConstraint = on(o.iconView->heightAnchor().constraintEqualToConstant(80));

    label(o.nameLbl, content, "", uikit::Font::systemFont(24, uikit::FontWeight::bold));
    o.nameLbl->setNumberOfLines(2);
    on(o.nameLbl->topAnchor().constraintEqualTo(o.iconView->topAnchor()));
    on(o.nameLbl->leadingAnchor().constraintEqualTo(o.iconView->trailingAnchor(), 14));
    on(o.nameLbl->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -kMargin));
    label(o.maintainerLbl, content, "", uikit::Font::systemFont(15));
    o.maintainerLbl->setTextColor(uikit::Color::systemGray());
    on(o.maintainerLbl->topAnchor().constraintEqualTo(o.nameLbl->bottomAnchor(), 2));
    on(o.maintainerLbl->leadingAnchor().constraintEqualTo(o.nameLbl->leadingAnchor()));
    on(o.maintainerLbl->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -kMargin));

    for (auto* button : {&o.getBtn, &o.shareBtn}) {
        add(*button, content);
        on((*button)->heightAnchor().constraintEqualToConstant(WebDepictionNib::kButtonHeight));
    }
    o.getBtn->titleLabel()->setFont(uikit::Font::boldSystemFont(13));
    o.getBtn->setTitleColor(uikit::Color::white());
    o.shareBtn->setTitle("\u2191");
    o.shareBtn->setTitleColor(uikit::Color::white());
    on(o.getBtn->leadingAnchor().constraintEqualTo(o.nameLbl->leadingAnchor()));
    o.getBtnWidthConstraint = on(o.getBtn->widthAnchor().constraintEqualToConstant(80));
    on(o.shareBtn->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -kMargin));
    on(o.shareBtn->widthAnchor().constraintEqualToConstant(WebDepictionNib::kButtonHeight));
    o.getBtnTopConstraintToIconView =
        on(o.getBtn->bottomAnchor().constraintEqualTo(o.iconView->bottomAnchor()));
    o.shareBtnTopConstraintToIconView =
        on(o.shareBtn->bottomAnchor().constraintEqualTo(o.iconView->bottomAnchor()));
    o.getBtnTopConstraintToMaintainerLbl =
        o.getBtn->topAnchor().constraintEqualTo(o.maintainerLbl->bottomAnchor(), 30);
    o.shareBtnTopConstraintToMaintainerLbl =
        o.shareBtn->topAnchor().constraintEqualTo(o.maintainerLbl->bottomAnchor(), 30);
}

// Caption and value on one row each, under the header.
void buildRows(WebDepictionOutlets& o, View& content) {
    const auto caption = uikit::Font::systemFont(17, uikit::FontWeight::semibold);
    struct Row {
        std::shared_ptr<uikit::Label>* caption;
        std::shared_ptr<uikit::Label>* value;
        const char* text;
    } rows[] = {{&o.sizeLbl, &o.packageSizeLbl, "Size"},
                {&o.versionLbl, &o.packageVersionLbl, "Version"},
                {&o.categoryLbl, &o.packageCategoryLbl, "Category"}};
    const std::shared_ptr<uikit::Label>* above = nullptr;
    for (const auto& row : rows) {
        auto& name = label(*row.caption, content, row.text, caption);
        auto& value = label(*row.value, content, "", uikit::Font::systemFont(15));
        value->setTextAlignment(uikit::TextAlignment::right);
        value->setTextColor(uikit::Color::systemGray());
        if (above)
            on(name->topAnchor().constraintEqualTo((*above)->bottomAnchor(), 4));
        else
            on(name->topAnchor().constraintEqualTo(o.getBtn->bottomAnchor(), 24));
        on(name->leadingAnchor().constraintEqualTo(content.leadingAnchor(), kMargin));
        on(name->widthAnchor().constraintEqualToConstant(kCaptionWidth));
        on(name->heightAnchor().constraintEqualToConstant(kRowHeight));
        on(value->topAnchor().constraintEqualTo(name->topAnchor()));
        on(value->leadingAnchor().constraintEqualTo(name->trailingAnchor(), 8));
        on(value->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -kMargin));
        on(value->heightAnchor().constraintEqualToConstant(kRowHeight));
        above = row.caption;
    }
}

void buildPageContainer(WebDepictionOutlets& o, View& content) {
    add(o.webViewContainer, content);
    o.webViewContainer->setClipsToBounds(true);
    on(o.webViewContainer->topAnchor().constraintEqualTo(o.categoryLbl->bottomAnchor(), 16));
    on(o.webViewContainer->leadingAnchor().constraintEqualTo(content.leadingAnchor()));
    on(o.webViewContainer->trailingAnchor().constraintEqualTo(content.trailingAnchor()));
    o.webViewContainerHeightConstraint =
        on(o.webViewContainer->heightAnchor().constraintEqualToConstant(
            WebDepictionNib::kPlaceholderHeight));
    on(o.webViewContainer->bottomAnchor().constraintEqualTo(content.bottomAnchor()));

    auto& container = *o.webViewContainer;
    add(o.placeholderView, container);
    on(o.placeholderView->topAnchor().constraintEqualTo(container.topAnchor()));
    on(o.placeholderView->leadingAnchor().constraintEqualTo(container.leadingAnchor()));
    on(o.placeholderView->trailingAnchor().constraintEqualTo(container.trailingAnchor()));
    on(o.placeholderView->heightAnchor().constraintEqualTo(container.heightAnchor()));
    label(o.errorLbl, container, "", uikit::Font::systemFont(15));
    o.errorLbl->setNumberOfLines(0);
    o.errorLbl->setTextAlignment(uikit::TextAlignment::center);
    o.errorLbl->setTextColor(uikit::Color::systemGray());
    o.errorLbl->setHidden(true);
    on(o.errorLbl->topAnchor().constraintEqualTo(container.topAnchor(), 20));
    on(o.errorLbl->leadingAnchor().constraintEqualTo(container.leadingAnchor(), kMargin));
    on(o.errorLbl->trailingAnchor().constraintEqualTo(container.trailingAnchor(), -kMargin));
}

}  // namespace

std::shared_ptr<uikit::View> WebDepictionNib::build(WebDepictionOutlets& outlets) {
    const uikit::Rect bounds = uikit::Screen::main().bounds();
    const auto fill = uikit::Autoresizing::flexibleWidth | uikit::Autoresizing::flexibleHeight;
    auto root = std::make_shared<WebDepictionRootView>(bounds);
    root->setAutoresizingMask(fill);
    outlets.scrollView = std::make_shared<uikit::ScrollView>(bounds);
    outlets.scrollView->setAutoresizingMask(fill);
    outlets.scrollView->setAlwaysBounceVertical(true);
    root->addSubview(outlets.scrollView);
    auto content = std::make_shared<PackageDetailsContentView>(bounds);
    content->setAutoresizingMask(uikit::Autoresizing::flexibleWidth);
    outlets.containerView = content;
    outlets.scrollView->addSubview(content);
    outlets.progressView = std::make_shared<uikit::ProgressView>(uikit::ProgressViewStyle::bar);
    outlets.progressView->setAlpha(0);
    root->addSubview(outlets.progressView);
    root->progressView = outlets.progressView;

    buildHeader(outlets, *content);
    buildRows(outlets, *content);
    buildPageContainer(outlets, *content);
    return root;
}

void WebDepictionNib::registerNib() {
    uikit::NibRegistry::shared().registerNib(
        kNibName, [](const std::shared_ptr<uikit::ViewController>& owner) -> std::shared_ptr<View> {
            auto* outlets = dynamic_cast<WebDepictionOutlets*>(owner.get());
            return outlets ? build(*outlets) : nullptr;
        });
}

}  // namespace corvane
