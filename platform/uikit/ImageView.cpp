#include "uikit/ImageView.h"

#include "uikit/Canvas.h"

namespace uikit {

ImageView::ImageView() {
    setUserInteractionEnabled(false);
}

ImageView::ImageView(std::shared_ptr<Image> image) : ImageView() {
    if (image)
        setFrame({{0, 0}, image->size()});
    image_ = std::move(image);
}

void ImageView::setImage(std::shared_ptr<Image> image) {
    image_ = std::move(image);
    invalidateIntrinsicContentSize();
}

std::shared_ptr<Image> ImageView::displayedImage() const {
    if (highlighted_ && highlightedImage_)
        return highlightedImage_;
    return image_;
}

Size ImageView::sizeThatFits(Size size) const {
    return image_ ? image_->size() : bounds().size;
}

Size ImageView::intrinsicContentSize() const {
    if (!image_)
        return {kNoIntrinsicMetric, kNoIntrinsicMetric};
    return image_->size();
}

void ImageView::draw(Canvas& canvas) {
    if (auto image = displayedImage(); image && canvas.isVisible(bounds()))
        canvas.drawImage(*image, bounds(), contentMode(), tintColor());
}

std::string ImageView::describeSelf() const {
    auto image = displayedImage();
    return image ? "ImageView [" + image->describe() + "]" : "ImageView";
}

}  // namespace uikit
