#include "uikit/TableViewCell.h"

#include <algorithm>

#include "uikit/Canvas.h"
#include "uikit/TableView.h"
#include "uikit/TextPainter.h"

namespace uikit {

namespace {

constexpr double kHorizontalInset = 15;
constexpr double kVerticalPadding = 11;
constexpr double kAccessoryWidth = 33;
constexpr double kImageSpacing = 15;
constexpr double kValue2TitleWidth = 91;
const Color kSelectedBackground = Color::fromBytes(209, 209, 214);
const Color kChevronColor = Color::fromBytes(196, 196, 199);
constexpr double kGlyphLine = 2;

double fittingHeight(const Label& label, double width) {
    return label.sizeThatFits({width, 0}).height;
}

}  // namespace

TableViewCell::TableViewCell(Style style, std::string reuseIdentifier)
    : View(Rect{0, 0, 320, kMinimumHeight}),
      style_(style),
      reuseIdentifier_(std::move(reuseIdentifier)),
      contentView_(std::make_shared<View>(Rect{0, 0, 320, kMinimumHeight})) {
    addSubview(contentView_);
}

const std::shared_ptr<Label>& TableViewCell::textLabel() {
    if (!textLabel_) {
        textLabel_ = std::make_shared<Label>();
        contentView_->addSubview(textLabel_);
        setNeedsLayout();
    }
    return textLabel_;
}

std::shared_ptr<Label> TableViewCell::detailTextLabel() {
    if (style_ == Style::defaultStyle)
        return nullptr;
    if (!detailTextLabel_) {
        detailTextLabel_ = std::make_shared<Label>();
        detailTextLabel_->setFont(Font::systemFont(style_ == Style::subtitle ? 12 : 17));
        if (style_ == Style::value1)
            detailTextLabel_->setTextColor(Color::gray());
        contentView_->addSubview(detailTextLabel_);
        setNeedsLayout();
    }
    return detailTextLabel_;
}

const std::shared_ptr<ImageView>& TableViewCell::imageView() {
    if (!imageView_) {
        imageView_ = std::make_shared<ImageView>();
        contentView_->addSubview(imageView_);
        setNeedsLayout();
    }
    return imageView_;
}

void TableViewCell::setAccessoryType(AccessoryType type) {
    accessoryType_ = type;
    setNeedsLayout();
}

void TableViewCell::setAccessoryView(std::shared_ptr<View> view) {
    if (accessoryView_)
        accessoryView_->removeFromSuperview();
    accessoryView_ = std::move(view);
    if (accessoryView_)
        addSubview(accessoryView_);
    setNeedsLayout();
}

void TableViewCell::setIndentationLevel(int level) {
    indentationLevel_ = std::max(0, level);
    setNeedsLayout();
}

void TableViewCell::setIndentationWidth(double width) {
    indentationWidth_ = width;
    setNeedsLayout();
}

void TableViewCell::setSelected(bool selected, bool) {
    selected_ = selected;
    bool lit = selected_ && selectionStyle_ != SelectionStyle::none;
    if (textLabel_)
        textLabel_->setHighlighted(lit);
    if (detailTextLabel_)
        detailTextLabel_->setHighlighted(lit);
}

void TableViewCell::setHighlighted(bool highlighted, bool) {
    highlighted_ = highlighted;
    bool lit = (highlighted_ || selected_) && selectionStyle_ != SelectionStyle::none;
    if (textLabel_)
        textLabel_->setHighlighted(lit);
    if (detailTextLabel_)
        detailTextLabel_->setHighlighted(lit);
    if (imageView_)
        imageView_->setHighlighted(highlighted_);
}

void TableViewCell::prepareForReuse() {
    setHighlighted(false, false);
    setSelected(false, false);
}

double TableViewCell::contentInset() const {
    return kHorizontalInset + indentationLevel_ * indentationWidth_;
}

double TableViewCell::accessoryWidth() const {
    if (accessoryView_)
        return accessoryView_->bounds().width() + kHorizontalInset;
    return accessoryType_ == AccessoryType::none ? 0 : kAccessoryWidth;
}

Size TableViewCell::sizeThatFits(Size size) const {
    double contentWidth = std::max(0.0, size.width - accessoryWidth());
    if (!usesStandardViews()) {
        double height = contentView_->systemLayoutSizeFitting({contentWidth, 0}).height;
        return {size.width, std::max(height, 0.0)};
    }
    double textWidth = std::max(0.0, contentWidth - 2 * contentInset());
    double text = textLabel_ ? fittingHeight(*textLabel_, textWidth) : 0;
    double detail = detailTextLabel_ ? fittingHeight(*detailTextLabel_, textWidth) : 0;
    double lines = style_ == Style::subtitle ? text + detail : std::max(text, detail);
    double image = imageView_ && imageView_->image() ? imageView_->image()->size().height : 0;
    double height = std::max(lines, image) + 2 * kVerticalPadding;
    return {size.width, std::max(height, kMinimumHeight)};
}

void TableViewCell::layoutSubviews() {
    Rect bounds = this->bounds();
    double accessory = accessoryWidth();
    contentView_->setFrame({0, 0, std::max(0.0, bounds.width() - accessory), bounds.height()});
    if (accessoryView_) {
        Size size = accessoryView_->bounds().size;
        accessoryView_->setFrame({bounds.width() - kHorizontalInset - size.width,
                                  (bounds.height() - size.height) / 2, size.width, size.height});
    }
    layoutStandardViews();
}

void TableViewCell::layoutStandardViews() {
    Rect content = contentView_->bounds();
    double x = contentInset();
    if (imageView_ && imageView_->image()) {
        Size size = imageView_->image()->size();
        imageView_->setFrame({x, (content.height() - size.height) / 2, size.width, size.height});
        x += size.width + kImageSpacing;
    }
    double width = std::max(0.0, content.width() - x - kHorizontalInset);
    double text = textLabel_ ? fittingHeight(*textLabel_, width) : 0;
    double detail = detailTextLabel_ ? fittingHeight(*detailTextLabel_, width) : 0;
    switch (style_) {
        case Style::defaultStyle:
            if (textLabel_)
                textLabel_->setFrame({x, (content.height() - text) / 2, width, text});
            break;
        case Style::subtitle: {
            double top = (content.height() - text - detail) / 2;
            if (textLabel_)
                textLabel_->setFrame({x, top, width, text});
            if (detailTextLabel_)
                detailTextLabel_->setFrame({x, top + text, width, detail});
            break;
        }
        case Style::value1:
        case Style::value2: {
            double split = style_ == Style::value2 ? kValue2TitleWidth : width / 2;
            if (textLabel_)
                textLabel_->setFrame({x, (content.height() - text) / 2, split, text});
            if (detailTextLabel_)
                detailTextLabel_->setFrame({x + split, (content.height() - detail) / 2,
                                            std::max(0.0, width - split), detail});
            break;
        }
    }
    if (style_ == Style::value1 && detailTextLabel_)
        detailTextLabel_->setTextAlignment(TextAlignment::right);
}

void TableViewCell::touchesBegan(const std::vector<Touch>& touches) {
    if (auto table = table_.lock())
        table->cellTouchBegan(*this);
}

void TableViewCell::touchesEnded(const std::vector<Touch>& touches) {
    bool inside = !touches.empty() && bounds().contains(touches.front().locationInView(this));
    if (auto table = table_.lock())
        table->cellTouchEnded(*this, inside);
}

void TableViewCell::touchesCancelled(const std::vector<Touch>& touches) {
    if (auto table = table_.lock())
        table->cellTouchEnded(*this, false);
}

void TableViewCell::draw(Canvas& canvas) {
    if ((selected_ || highlighted_) && selectionStyle_ != SelectionStyle::none)
        canvas.fill(bounds(), kSelectedBackground);
    if (!accessoryView_ && accessoryType_ != AccessoryType::none)
        drawAccessory(canvas, {bounds().maxX() - kAccessoryWidth, bounds().minY(),
                               kAccessoryWidth - kHorizontalInset / 2, bounds().height()});
}

// The system's accessory glyphs, centred in the accessory's room.
void TableViewCell::drawAccessory(Canvas& canvas, const Rect& area) const {
    Point c = area.center();
    Color tint = tintColor();
    bool chevron = accessoryType_ == AccessoryType::disclosureIndicator ||
                   accessoryType_ == AccessoryType::detailDisclosureButton;
    bool detail = accessoryType_ == AccessoryType::detailButton ||
                  accessoryType_ == AccessoryType::detailDisclosureButton;
    if (chevron) {
        double x = detail ? area.maxX() - 4 : c.x + 2;
        canvas.strokeLines({{x - 4, c.y - 7}, {x + 2, c.y}, {x - 4, c.y + 7}}, kGlyphLine,
                           kChevronColor);
    }
    if (detail) {
        double x = chevron ? area.minX() - 10 : c.x - 11;
        Rect circle{x, c.y - 11, 22, 22};
        canvas.strokeEllipse(circle.insetBy(0.75, 0.75), 1.5, tint);
        Font font = Font::boldSystemFont(14);
        TextPainter::drawLine(canvas, "i", font, tint,
                              {{circle.minX(), circle.midY() - font.lineHeight() / 2},
                               circle.width(),
                               TextAlignment::center});
    }
    if (accessoryType_ == AccessoryType::checkmark)
        canvas.strokeLines({{c.x - 7, c.y}, {c.x - 2, c.y + 5}, {c.x + 7, c.y - 6}}, kGlyphLine,
                           tint);
}

std::string TableViewCell::describeSelf() const {
    std::string line = "TableViewCell";
    if (!accessoryView_) {
        switch (accessoryType_) {
            case AccessoryType::disclosureIndicator:
                line += " >";
                break;
            case AccessoryType::checkmark:
                line += " (checkmark)";
                break;
            case AccessoryType::detailButton:
            case AccessoryType::detailDisclosureButton:
                line += " (i)";
                break;
            case AccessoryType::none:
                break;
        }
    }
    if (selected_)
        line += " selected";
    return line;
}

}  // namespace uikit
