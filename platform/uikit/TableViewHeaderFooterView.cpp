#include "uikit/TableViewHeaderFooterView.h"

#include <algorithm>

#include "uikit/Canvas.h"

namespace uikit {

namespace {

constexpr double kPadding = 6;

}  // namespace

TableViewHeaderFooterView::TableViewHeaderFooterView(std::string reuseIdentifier)
    : View(Rect{0, 0, 320, 28}),
      reuseIdentifier_(std::move(reuseIdentifier)),
      contentView_(std::make_shared<View>(Rect{0, 0, 320, 28})) {
    addSubview(contentView_);
}

const std::shared_ptr<Label>& TableViewHeaderFooterView::textLabel() {
    if (!textLabel_) {
        textLabel_ = std::make_shared<Label>();
        textLabel_->setFont(Font::boldSystemFont(17));
        contentView_->addSubview(textLabel_);
        setNeedsLayout();
    }
    return textLabel_;
}

const std::shared_ptr<Label>& TableViewHeaderFooterView::detailTextLabel() {
    if (!detailTextLabel_) {
        detailTextLabel_ = std::make_shared<Label>();
        detailTextLabel_->setFont(Font::systemFont(13));
        detailTextLabel_->setNumberOfLines(0);
        contentView_->addSubview(detailTextLabel_);
        setNeedsLayout();
    }
    return detailTextLabel_;
}

Size TableViewHeaderFooterView::sizeThatFits(Size size) const {
    double width = std::max(0.0, size.width - 2 * kInset);
    double height = 0;
    if (textLabel_)
        height += textLabel_->sizeThatFits({width, 0}).height;
    if (detailTextLabel_)
        height += detailTextLabel_->sizeThatFits({width, 0}).height;
    return {size.width, height + 2 * kPadding};
}

void TableViewHeaderFooterView::draw(Canvas& canvas) {
    if (!backgroundColor() && hasOwnTintColor())
        canvas.fill(bounds(), tintColor(), layer().cornerRadius());
}

void TableViewHeaderFooterView::layoutSubviews() {
    contentView_->setFrame(bounds());
    double width = std::max(0.0, bounds().width() - 2 * kInset);
    double y = kPadding;
    for (const auto& label : {textLabel_, detailTextLabel_}) {
        if (!label)
            continue;
        double height = label->sizeThatFits({width, 0}).height;
        label->setFrame({kInset, y, width, height});
        y += height;
    }
}

}  // namespace uikit
