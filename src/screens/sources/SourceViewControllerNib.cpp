#include "screens/sources/SourceViewControllerNib.h"

#include "foundation/Localization.h"
#include "screens/KSTableScreenNib.h"
#include "screens/sources/SourceViewController.h"
#include "ui/cells/KSCellViews.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"

namespace corvane {

using uikit::Color;
using uikit::Font;

namespace {

constexpr double kInset = SourceViewControllerNib::kInset;

void buildSourceHeader(SourceViewController& page, double width) {
    constexpr double kIcon = SourceViewControllerNib::kIconSize;
    auto header = std::make_shared<uikit::View>(uikit::Rect{0, 0, width, 140});
    header->setAutoresizingMask(uikit::Autoresizing::flexibleWidth);
    page.iconView = KSCellViews::imageView(*header, {kInset, kInset, kIcon, kIcon});
    page.iconView->layer().setCornerRadius(kIcon * 0.2237);
    page.iconView->setClipsToBounds(true);
    const double textX = kInset + kIcon + 12;
    const double textWidth = width - textX - kInset;
    page.nameLbl =
        KSCellViews::label(*header, {textX, kInset + 4, textWidth, 28}, Font::boldSystemFont(22));
    page.locationLbl = KSCellViews::label(*header, {textX, kInset + 34, textWidth, 18},
                                          Font::systemFont(13), Color::white(0.45));
    const double textBelow = kInset + kIcon + 12;
    page.descriptionLbl = KSCellViews::label(*header, {kInset, textBelow, width - 2 * kInset, 20},
                                             Font::systemFont(15), Color::black(), 0);
    page.stateLbl =
        KSCellViews::label(*header, {kInset, textBelow + 24, width - 2 * kInset, 18},
                           Font::systemFont(13, uikit::FontWeight::medium), Color::white(0.45), 0);
    page.sourceHeaderView = header;
}

void buildAddSourceForm(SourceViewController& page, double width) {
    auto form = std::make_shared<uikit::View>(
        uikit::Rect{0, 0, width, SourceViewControllerNib::kFormHeight});
    form->setAutoresizingMask(uikit::Autoresizing::flexibleWidth);
    auto box = KSCellViews::view(*form, {kInset, 20, width - 2 * kInset, 44});
    box->setAutoresizingMask(uikit::Autoresizing::flexibleWidth);
    box->layer().setCornerRadius(10);
    auto field =
        std::make_shared<uikit::TextField>(uikit::Rect{12, 0, box->bounds().width() - 24, 44});
    field->setAutoresizingMask(uikit::Autoresizing::flexibleWidth);
    field->setFont(Font::systemFont(16));
    field->setPlaceholder(foundation::localized("Source address"));
    field->setKeyboardType(uikit::KeyboardType::url);
    field->setReturnKeyType(uikit::ReturnKeyType::done);
    field->setClearButtonMode(uikit::TextFieldViewMode::whileEditing);
    box->addSubview(field);
    auto add = std::make_shared<uikit::Button>(uikit::ButtonType::system);
    add->setFrame({kInset, 76, width - 2 * kInset, 44});
    add->setAutoresizingMask(uikit::Autoresizing::flexibleWidth);
    add->setTitle(foundation::localized("Add Source"));
    add->layer().setCornerRadius(10);
    form->addSubview(add);
    page.messageLbl = KSCellViews::label(*form, {kInset, 126, width - 2 * kInset, 18},
                                         Font::systemFont(13), Color::systemRed(), 0);
    page.addressField = field;
    page.addBtn = add;
    page.addSourceView = form;
}

}  // namespace

void SourceViewControllerNib::registerNib() {
    uikit::NibRegistry::shared().registerNib(SourceViewController::kNibName, &build);
}

std::shared_ptr<uikit::View> SourceViewControllerNib::build(
    const std::shared_ptr<uikit::ViewController>& owner) {
    auto [root, table] = KSTableScreenNib::make();
    if (auto page = std::dynamic_pointer_cast<SourceViewController>(owner)) {
        page->sourceTableView = table;
        buildSourceHeader(*page, root->bounds().width());
        buildAddSourceForm(*page, root->bounds().width());
    }
    return root;
}

}  // namespace corvane
