#include "ui/cells/NewsCell.h"

#include "ui/cells/KSCellViews.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"

namespace corvane {

using uikit::Color;
using uikit::Font;

void NewsCell::registerNib() {
    uikit::NibRegistry::shared().registerNib(kNibName, &build);
}

std::shared_ptr<uikit::View> NewsCell::build(const std::shared_ptr<uikit::ViewController>&) {
    constexpr double kInset = 16;
    auto cell = std::make_shared<NewsCell>();
    const double width = uikit::Screen::main().bounds().width();
    cell->setFrame({0, 0, width, 120});
    auto& content = *cell->contentView();
    content.setFrame(cell->bounds());
    const double textWidth = width - 2 * kInset;
    cell->newsTitleLbl =
        KSCellViews::label(content, {kInset, 10, textWidth, 22}, Font::boldSystemFont(17));
    cell->newsAuthorLbl = KSCellViews::label(content, {kInset, 34, textWidth / 2, 16},
                                             Font::systemFont(13), Color::white(0.45));
    cell->newsDateLbl = KSCellViews::label(content, {kInset + textWidth / 2, 34, textWidth / 2, 16},
                                           Font::systemFont(13), Color::white(0.45));
    cell->newsDateLbl->setTextAlignment(uikit::TextAlignment::right);
    cell->newsContentLbl = KSCellViews::label(content, {kInset, 54, textWidth, 56},
                                              Font::systemFont(15), Color::black(), 0);
    cell->separator = KSCellViews::separator(content, kInset);
    return cell;
}

}  // namespace corvane
