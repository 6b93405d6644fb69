#include "screens/packages/PackageSectionBuilder.h"

namespace corvane {

using Constraint = PackageSectionBuilder::Constraint;

std::shared_ptr<uikit::Label>& PackageSectionBuilder::label(std::shared_ptr<uikit::Label>& outlet,
                                                            const std::string& text,
                                                            const uikit::Font& font, int lines) {
    add(outlet);
    outlet->setText(foundation::localized(text));
    outlet->setFont(font);
    outlet->setNumberOfLines(lines);
    return outlet;
}

std::shared_ptr<uikit::Label>& PackageSectionBuilder::title(std::shared_ptr<uikit::Label>& outlet,
                                                            const std::string& text) {
    return label(outlet, text, uikit::Font::boldSystemFont(22));
}

std::shared_ptr<uikit::View>& PackageSectionBuilder::separator(
    std::shared_ptr<uikit::View>& outlet) {
    add(outlet);
    outlet->setBackgroundColor(uikit::Color::white(0.5, 0.3));
    on(outlet->heightAnchor().constraintEqualToConstant(1));
    wide(*outlet);
    return outlet;
}

std::shared_ptr<uikit::Button>& PackageSectionBuilder::button(
    std::shared_ptr<uikit::Button>& outlet, const std::string& title) {
    add(outlet, uikit::ButtonType::system);
    outlet->setTitle(foundation::localized(title));
    outlet->titleLabel()->setFont(uikit::Font::systemFont(15, uikit::FontWeight::semibold));
    return outlet;
}

void PackageSectionBuilder::collection(std::shared_ptr<uikit::CollectionView>& outlet) {
    auto layout = std::make_shared<uikit::CollectionViewFlowLayout>();
    layout->setScrollDirection(uikit::CollectionViewFlowLayout::ScrollDirection::horizontal);
    outlet = std::make_shared<uikit::CollectionView>(uikit::Rect{}, layout);
    outlet->setTranslatesAutoresizingMaskIntoConstraints(false);
    outlet->setBackgroundColor(uikit::Color::clear());
    content_.addSubview(outlet);
}

Constraint PackageSectionBuilder::on(Constraint constraint) {
    constraint->setActive(true);
    return constraint;
}

void PackageSectionBuilder::fallback(Constraint constraint) {
    constraint->setPriority(uikit::LayoutPriority::defaultLow);
    constraint->setActive(true);
}

void PackageSectionBuilder::folds(uikit::View& view, const uikit::LayoutAnchor& under) {
    fallback(view.topAnchor().constraintEqualTo(under));
    fallback(view.heightAnchor().constraintEqualToConstant(0));
}

Constraint PackageSectionBuilder::below(uikit::View& view, const uikit::LayoutAnchor& anchor,
                                        double constant) {
    return view.topAnchor().constraintEqualTo(anchor, constant);
}

void PackageSectionBuilder::setActive(std::initializer_list<Constraint> constraints, bool active) {
    for (const auto& constraint : constraints)
        constraint->setActive(active);
}

void PackageSectionBuilder::setHidden(std::initializer_list<uikit::View*> views, bool hidden) {
    for (auto* view : views)
        view->setHidden(hidden);
}

void PackageSectionBuilder::attach(const Constraint& constraint, double constant) {
    constraint->setConstant(constant);
    constraint->setActive(true);
}

void PackageSectionBuilder::wide(uikit::View& view) {
    on(view.leadingAnchor().constraintEqualTo(content_.leadingAnchor(), kMargin));
    on(view.trailingAnchor().constraintEqualTo(content_.trailingAnchor(), -kMargin));
}

void PackageSectionBuilder::leading(uikit::View& view, double x, double width) {
    on(view.leadingAnchor().constraintEqualTo(content_.leadingAnchor(), x));
    on(view.widthAnchor().constraintEqualToConstant(width));
}

void PackageSectionBuilder::trailing(uikit::View& view, double width) {
    on(view.trailingAnchor().constraintEqualTo(content_.trailingAnchor(), -kMargin));
    on(view.widthAnchor().constraintEqualToConstant(width));
}

void PackageSectionBuilder::row(std::shared_ptr<uikit::Label>& caption,
                                std::shared_ptr<uikit::Label>& value,
                                std::shared_ptr<uikit::View>& rowSeparator, const std::string& text,
                                const uikit::LayoutAnchor& under) {
    label(caption, text, uikit::Font::systemFont(15), 1);
    caption->setTextColor(uikit::Color::systemGray());
    label(value, "", uikit::Font::systemFont(15), 0);
    value->setTextAlignment(uikit::TextAlignment::right);
    leading(*caption, kMargin, kCaptionWidth);
    on(value->leadingAnchor().constraintEqualTo(caption->trailingAnchor(), 8));
    on(value->trailingAnchor().constraintEqualTo(content_.trailingAnchor(), -kMargin));
    on(below(*caption, under, 12));
    on(value->topAnchor().constraintEqualTo(caption->topAnchor()));
    separator(rowSeparator);
    on(below(*rowSeparator, value->bottomAnchor(), 12));
}

}  // namespace corvane
