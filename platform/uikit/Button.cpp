#include "uikit/Button.h"

#include <algorithm>

#include "uikit/Canvas.h"
#include "uikit/DescribeText.h"

namespace uikit {

namespace {
constexpr double kTitledVerticalPadding = 6;
constexpr double kAddIconSize = 22;
// A system button fades its content while a finger is on it.
constexpr double kHighlightedAlpha = 0.2;
}  // namespace

Button::Button(ButtonType type) : type_(type) {
    titleLabel_ = std::make_shared<Label>();
    titleLabel_->setFont(Font::systemFont(15));
    titleLabel_->setHidden(true);
    imageView_ = std::make_shared<ImageView>();
    imageView_->setHidden(true);
    addSubview(imageView_);
    addSubview(titleLabel_);
    refreshContent();
}

template <typename T>
std::optional<T> Button::lookup(const std::map<ControlState, T>& table, ControlState state) {
    if (auto found = table.find(state); found != table.end())
        return found->second;
    if (auto found = table.find(ControlStates::normal); found != table.end())
        return found->second;
    return std::nullopt;
}

void Button::setTitle(std::optional<std::string> title, ControlState state) {
    if (title)
        titles_[state] = std::move(*title);
    else
        titles_.erase(state);
    refreshContent();
}

std::optional<std::string> Button::titleForState(ControlState state) const {
    if (auto attributed = lookup(attributedTitles_, state))
        return attributed->string();
    return lookup(titles_, state);
}

void Button::setAttributedTitle(std::optional<AttributedString> title, ControlState state) {
    if (title)
        attributedTitles_[state] = std::move(*title);
    else
        attributedTitles_.erase(state);
    refreshContent();
}

std::optional<AttributedString> Button::attributedTitleForState(ControlState state) const {
    return lookup(attributedTitles_, state);
}

void Button::setTitleColor(std::optional<Color> color, ControlState state) {
    if (color)
        titleColors_[state] = *color;
    else
        titleColors_.erase(state);
    refreshContent();
}

std::optional<Color> Button::titleColorForState(ControlState state) const {
    return lookup(titleColors_, state);
}

void Button::setImage(std::shared_ptr<Image> image, ControlState state) {
    if (image)
        images_[state] = std::move(image);
    else
        images_.erase(state);
    refreshContent();
}

std::shared_ptr<Image> Button::imageForState(ControlState state) const {
    return lookup(images_, state).value_or(nullptr);
}

void Button::setBackgroundImage(std::shared_ptr<Image> image, ControlState state) {
    if (image)
        backgroundImages_[state] = std::move(image);
    else
        backgroundImages_.erase(state);
}

std::shared_ptr<Image> Button::backgroundImageForState(ControlState state) const {
    return lookup(backgroundImages_, state).value_or(nullptr);
}

Color Button::currentTitleColor() const {
    if (auto color = titleColorForState(state()))
        return *color;
    if (type_ == ButtonType::custom)
        return Color::white();
    if (!isEnabled())
        return Color::systemGray();
    return tintColor();
}

void Button::setContentEdgeInsets(const EdgeInsets& insets) {
    contentEdgeInsets_ = insets;
    invalidateIntrinsicContentSize();
}

void Button::refreshContent() {
    auto title = currentTitle();
    if (auto attributed = attributedTitleForState(state()))
        titleLabel_->setAttributedText(*attributed);
    else
        titleLabel_->setText(title);
    titleLabel_->setTextColor(currentTitleColor());
    titleLabel_->setHidden(!title || title->empty());
    imageView_->setImage(displayedImage());
    imageView_->setHidden(!currentImage());
    double alpha = type_ != ButtonType::custom && isHighlighted() ? kHighlightedAlpha : 1;
    titleLabel_->setAlpha(alpha);
    imageView_->setAlpha(alpha);
    invalidateIntrinsicContentSize();
}

// A system button draws an image in its tint unless the image asks to keep its colours.
std::shared_ptr<Image> Button::displayedImage() const {
    auto image = currentImage();
    if (!image || type_ == ButtonType::custom ||
        image->renderingMode() != ImageRenderingMode::automatic)
        return image;
    return image->withRenderingMode(ImageRenderingMode::alwaysTemplate);
}

void Button::stateDidChange() {
    refreshContent();
}

Size Button::contentSize() const {
    Size title = titleLabel_->isHidden() ? Size{} : titleLabel_->sizeThatFits({});
    Size image = imageView_->isHidden() ? Size{} : imageView_->image()->size();
    if (type_ == ButtonType::contactAdd && imageView_->isHidden())
        image = {kAddIconSize, kAddIconSize};
    Size size{title.width + image.width, std::max(title.height, image.height)};
    if (title.height > 0 && contentEdgeInsets_ == EdgeInsets{})
        size.height += 2 * kTitledVerticalPadding;
    return size;
}

Size Button::intrinsicContentSize() const {
    Size content = contentSize();
    return {content.width + contentEdgeInsets_.left + contentEdgeInsets_.right,
            content.height + contentEdgeInsets_.top + contentEdgeInsets_.bottom};
}

Size Button::sizeThatFits(Size) const {
    return intrinsicContentSize();
}

void Button::layoutSubviews() {
    Rect area = bounds().inset(contentEdgeInsets_);
    Size title = titleLabel_->isHidden() ? Size{} : titleLabel_->sizeThatFits({});
    Size image = imageView_->isHidden() ? Size{} : imageView_->image()->size();
    double width = std::min(area.width(), title.width + image.width);
    double left = area.midX() - width / 2;
    imageView_->setFrame({left, area.midY() - image.height / 2, image.width, image.height});
    double titleWidth = std::max(0.0, std::min(title.width, area.width() - image.width));
    titleLabel_->setFrame(
        {left + image.width, area.midY() - title.height / 2, titleWidth, title.height});
}

void Button::draw(Canvas& canvas) {
    if (auto background = backgroundImageForState(state()))
        canvas.drawImage(*background, bounds(), tintColor());
    if (type_ == ButtonType::contactAdd && !currentImage()) {
        Rect icon{bounds().midX() - kAddIconSize / 2, bounds().midY() - kAddIconSize / 2,
                  kAddIconSize, kAddIconSize};
        Color color = currentTitleColor().faded(isHighlighted() ? kHighlightedAlpha : 1);
        canvas.strokeEllipse(icon.insetBy(1, 1), 1.5, color);
        canvas.strokeLines({{icon.midX(), icon.minY() + 6}, {icon.midX(), icon.maxY() - 6}}, 1.5,
                           color);
        canvas.strokeLines({{icon.minX() + 6, icon.midY()}, {icon.maxX() - 6, icon.midY()}}, 1.5,
                           color);
    }
}

std::string Button::describeSelf() const {
    std::string line = "Button";
    if (auto title = currentTitle(); title && !title->empty())
        line += " " + quotedForDescription(*title);
    if (auto image = currentImage())
        line += " [" + image->describe() + "]";
    if (type_ == ButtonType::contactAdd && !currentImage())
        line += " (add)";
    if (!isEnabled())
        line += " disabled";
    if (isSelected())
        line += " selected";
    return line;
}

bool Button::describesSubview(const View& subview) const {
    return &subview != titleLabel_.get() && &subview != imageView_.get();
}

}  // namespace uikit
