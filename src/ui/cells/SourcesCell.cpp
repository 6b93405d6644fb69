#include "ui/cells/SourcesCell.h"

#include "ui/cells/KSCellViews.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"

namespace corvane {

using uikit::Autoresizing;
using uikit::Color;
using uikit::Font;

namespace {

std::shared_ptr<uikit::Image> templateImage(const char* name) {
    auto image = uikit::Image::named(name);
    return image ? image->withRenderingMode(uikit::ImageRenderingMode::alwaysTemplate) : nullptr;
}

}  // namespace

void SourcesCell::registerNib() {
    uikit::NibRegistry::shared().registerNib(kNibName, &build);
}

std::shared_ptr<uikit::View> SourcesCell::build(const std::shared_ptr<uikit::ViewController>&) {
    constexpr double kInset = 16;
    constexpr double kIconSize = 40;
    constexpr double kFact = 14;
    auto cell = std::make_shared<SourcesCell>();
    const double width = uikit::Screen::main().bounds().width();
    cell->setFrame({0, 0, width, kRowHeight});
    auto& content = *cell->contentView();
    content.setFrame(cell->bounds());
    const double textX = kInset + kIconSize + 12;
    const double textWidth = width - textX - kInset;
    cell->iconView = KSCellViews::imageView(content, {kInset, 12, kIconSize, kIconSize});
    cell->nameLbl =
        KSCellViews::label(content, {textX, 10, textWidth, 20}, Font::boldSystemFont(16));
    cell->descriptionLbl = KSCellViews::label(content, {textX, 30, textWidth, 16},
                                              Font::systemFont(13), Color::white(0.45));
    cell->containerView = KSCellViews::view(content, {textX, 56, textWidth, 28});
    cell->containerView->setAutoresizingMask(uikit::Autoresizing::flexibleWidth);
    auto& facts = *cell->containerView;
    const double column = textWidth / 3;
    // The three columns share whatever width the accessory leaves them.
    auto fact = [&](int index, const char* icon, std::shared_ptr<uikit::ImageView>& image,
                    std::shared_ptr<uikit::Label>& label) {
        const double x = column * index;
        image = KSCellViews::imageView(facts, {x, 7, kFact, kFact});
        image->setContentMode(uikit::ContentMode::scaleAspectFit);
        image->setImage(templateImage(icon));
        image->setTintColor(Color::white(0.45));
        image->setAutoresizingMask(Autoresizing::flexibleLeftMargin |
                                   Autoresizing::flexibleRightMargin);
        label = KSCellViews::label(facts, {x + kFact + 4, 6, column - kFact - 8, 16},
                                   Font::systemFont(12), Color::white(0.45));
        label->setAutoresizingMask(Autoresizing::flexibleLeftMargin | Autoresizing::flexibleWidth |
                                   Autoresizing::flexibleRightMargin);
    };
    fact(0, "installed", cell->installedPackagesImgView, cell->installedPackagesLbl);
    fact(1, "Sort", cell->totalPackagesImgView, cell->totalPackagesLbl);
    fact(2, "ShortcutActionRefresh", cell->lastRepoRegenImgView, cell->lastRepoRegenLbl);
    cell->separator = KSCellViews::separator(content, textX);
    return cell;
}

std::optional<std::string> SourcesCell::regenDate() const {
    std::lock_guard lock(mutex_);
    return regenDate_;
}

void SourcesCell::setRegenDate(std::optional<std::string> date) {
    std::lock_guard lock(mutex_);
    regenDate_ = std::move(date);
}

std::optional<std::string> SourcesCell::sourceLocation() const {
    std::lock_guard lock(mutex_);
    return sourceLocation_;
}

void SourcesCell::setSourceLocation(std::optional<std::string> location) {
    std::lock_guard lock(mutex_);
    sourceLocation_ = std::move(location);
}

}  // namespace corvane
