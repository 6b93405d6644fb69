#include "ui/cells/KSCellViews.h"

#include "uikit/Screen.h"

namespace corvane {

std::shared_ptr<uikit::Label> KSCellViews::label(uikit::View& parent, const uikit::Rect& frame,
                                                 const uikit::Font& font, const uikit::Color& color,
                                                 int lines) {
    auto label = std::make_shared<uikit::Label>(frame);
    label->setFont(font);
    label->setTextColor(color);
    label->setNumberOfLines(lines);
    label->setAutoresizingMask(uikit::Autoresizing::flexibleWidth);
    parent.addSubview(label);
    return label;
}

std::shared_ptr<uikit::ImageView> KSCellViews::imageView(uikit::View& parent,
                                                         const uikit::Rect& frame) {
    auto imageView = std::make_shared<uikit::ImageView>();
    imageView->setFrame(frame);
    imageView->setContentMode(uikit::ContentMode::scaleAspectFill);
    parent.addSubview(imageView);
    return imageView;
}

std::shared_ptr<uikit::View> KSCellViews::separator(uikit::View& parent, double x) {
    const double hairline = 1.0 / uikit::Screen::main().scale();
    const auto bounds = parent.bounds();
    auto separator = std::make_shared<uikit::View>(
        uikit::Rect{x, bounds.height() - hairline, bounds.width() - x, hairline});
    separator->setBackgroundColor(uikit::Color::white(0.78));
    separator->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                                   uikit::Autoresizing::flexibleTopMargin);
    parent.addSubview(separator);
    return separator;
}

std::shared_ptr<uikit::View> KSCellViews::view(uikit::View& parent, const uikit::Rect& frame) {
    auto view = std::make_shared<uikit::View>(frame);
    parent.addSubview(view);
    return view;
}

}  // namespace corvane
