#include "uikit/Label.h"

#include <algorithm>
#include <cmath>

#include "uikit/DescribeText.h"
#include "uikit/TextLayout.h"
#include "uikit/TextPainter.h"

namespace uikit {

namespace {

// Measured heights are rounded up to whole points for frames: a line that overshoots by less
// still fits.
constexpr double kHeightTolerance = 1;

// Sizes as the system reports them for labels: whole points, rounded up.
Size ceilSize(Size size) {
    return {std::ceil(size.width), std::ceil(size.height)};
}

// The text with every font, the default one included, at the factor of its size.
AttributedString scaledText(const AttributedString& text, double factor) {
    AttributedString scaled = text;
    for (const auto& run : text.runs()) {
        if (!run.attributes.font)
            continue;
        TextAttributes attributes;
        attributes.font = run.attributes.font->withSize(run.attributes.font->pointSize() * factor);
        scaled.addAttributes(attributes, run.range);
    }
    return scaled;
}

}  // namespace

Label::Label() {
    setUserInteractionEnabled(false);
}

Label::Label(const Rect& frame) : View(frame) {
    setUserInteractionEnabled(false);
}

void Label::setText(std::optional<std::string> text) {
    text_ = std::move(text);
    attributedText_.reset();
    invalidateIntrinsicContentSize();
}

std::optional<AttributedString> Label::attributedText() const {
    if (attributedText_)
        return attributedText_;
    if (!text_)
        return std::nullopt;
    TextAttributes attributes;
    attributes.font = font_;
    attributes.foregroundColor = textColor_;
    attributes.paragraphStyle = ParagraphStyle{textAlignment_, lineBreakMode_};
    return AttributedString(*text_, attributes);
}

void Label::setAttributedText(std::optional<AttributedString> text) {
    attributedText_ = std::move(text);
    text_ = attributedText_ ? std::optional(attributedText_->string()) : std::nullopt;
    invalidateIntrinsicContentSize();
}

void Label::setFont(const Font& font) {
    font_ = font;
    // As on the system, a new font applies to the whole attributed text.
    if (attributedText_) {
        TextAttributes attributes;
        attributes.font = font;
        attributedText_->addAttributes(attributes, {0, attributedText_->length()});
    }
    invalidateIntrinsicContentSize();
}

void Label::setTextColor(std::optional<Color> color) {
    textColor_ = color.value_or(Color::black());
    if (attributedText_) {
        TextAttributes attributes;
        attributes.foregroundColor = textColor_;
        attributedText_->addAttributes(attributes, {0, attributedText_->length()});
    }
}

void Label::setNumberOfLines(int lines) {
    numberOfLines_ = std::max(0, lines);
    invalidateIntrinsicContentSize();
}

void Label::setLineBreakMode(LineBreakMode mode) {
    lineBreakMode_ = mode;
    invalidateIntrinsicContentSize();
}

void Label::setPreferredMaxLayoutWidth(double width) {
    preferredMaxLayoutWidth_ = std::max(0.0, width);
    invalidateIntrinsicContentSize();
}

Size Label::measure(double maxWidth) const {
    auto text = attributedText();
    if (!text || text->empty())
        return {};
    return ceilSize(
        TextLayout::measure(*text, font_, maxWidth, numberOfLines_, lineBreakMode_).size);
}

double Label::wrapWidth() const {
    return preferredMaxLayoutWidth_ > 0 ? preferredMaxLayoutWidth_ : bounds().width();
}

Size Label::sizeThatFits(Size size) const {
    if (numberOfLines_ == 1)
        return measure(0);
    return measure(size.width > 0 ? size.width : 0);
}

Size Label::intrinsicContentSize() const {
    if (numberOfLines_ == 1)
        return measure(0);
    return measure(wrapWidth());
}

double Label::displayedPointSize() const {
    double width = bounds().width();
    if (!adjustsFontSizeToFitWidth_ || numberOfLines_ != 1 || width <= 0)
        return font_.pointSize();
    double natural = measure(0).width;
    if (natural <= width)
        return font_.pointSize();
    double factor = std::max(width / natural, minimumScaleFactor_);
    return font_.pointSize() * std::min(1.0, factor);
}

int Label::displayedLineCount() const {
    auto text = attributedText();
    if (!text || text->empty())
        return 0;
    double width = numberOfLines_ == 1 ? 0 : bounds().width();
    return TextLayout::measure(*text, font_, width, numberOfLines_, lineBreakMode_).lineCount;
}

// As the system draws a label: the lines that fit in its height, the last one cut as the line
// break mode says, the whole centred vertically.
void Label::draw(Canvas& canvas) {
    auto text = attributedText();
    const Rect& area = bounds();
    if (!text || text->empty() || area.width() <= 0)
        return;
    Font font = font_;
    if (double size = displayedPointSize(); size != font_.pointSize()) {
        text = scaledText(*text, size / font_.pointSize());
        font = font_.withSize(size);
    }
    auto placement = placeText(*text, font);
    double top = area.minY() + (area.height() - placement.metrics.size.height) / 2;
    canvas.save();
    if (lineBreakMode_ == LineBreakMode::byClipping)
        canvas.clipToRect(area);
    TextPainter::draw(canvas, *text, placement, font, textColor_,
                      {{area.minX(), top}, area.width(), textAlignment_});
    canvas.restore();
}

TextLayout::Placement Label::placeText(const AttributedString& text, const Font& font) const {
    double width = bounds().width();
    bool unwrapped = numberOfLines_ == 1 && lineBreakMode_ == LineBreakMode::byClipping;
    double wrapWidth = unwrapped ? 0 : width;
    auto placement = TextLayout::place(text, font, wrapWidth, numberOfLines_, lineBreakMode_);
    double height = bounds().height();
    if (placement.metrics.size.height <= height + kHeightTolerance || placement.lines.size() < 2)
        return placement;
    int fitting = 1;
    while (fitting < static_cast<int>(placement.lines.size())) {
        const auto& next = placement.lines[fitting];
        if (next.top + next.height > height + kHeightTolerance)
            break;
        ++fitting;
    }
    return TextLayout::place(text, font, wrapWidth, fitting, lineBreakMode_);
}

std::string Label::describeSelf() const {
    if (!text_ || text_->empty())
        return "Label";
    return "Label " + quotedForDescription(*text_);
}

}  // namespace uikit
