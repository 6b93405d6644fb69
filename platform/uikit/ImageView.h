#pragma once

#include <memory>

#include "uikit/Image.h"
#include "uikit/View.h"

namespace uikit {

// Shows an image (the highlighted one while highlighted); a template image in the tint colour.
class ImageView : public View {
  public:
    ImageView();
    explicit ImageView(std::shared_ptr<Image> image);

    const std::shared_ptr<Image>& image() const { return image_; }
    void setImage(std::shared_ptr<Image> image);
    const std::shared_ptr<Image>& highlightedImage() const { return highlightedImage_; }
    void setHighlightedImage(std::shared_ptr<Image> image) { highlightedImage_ = std::move(image); }
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted) { highlighted_ = highlighted; }
    // The image on show now.
    std::shared_ptr<Image> displayedImage() const;

    void draw(Canvas& canvas) override;
    Size sizeThatFits(Size size) const override;
    Size intrinsicContentSize() const override;

  protected:
    std::string describeSelf() const override;

  private:
    std::shared_ptr<Image> image_;
    std::shared_ptr<Image> highlightedImage_;
    bool highlighted_ = false;
};

}  // namespace uikit
