#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "uikit/Image.h"

namespace uikit {

// A controller's entry in the tab bar.
class TabBarItem {
  public:
    TabBarItem() = default;
    TabBarItem(std::optional<std::string> title, std::shared_ptr<Image> image, int tag = 0)
        : title_(std::move(title)), image_(std::move(image)), tag_(tag) {}

    const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title) {
        title_ = std::move(title);
        notify();
    }
    const std::shared_ptr<Image>& image() const { return image_; }
    void setImage(std::shared_ptr<Image> image) {
        image_ = std::move(image);
        notify();
    }
    const std::shared_ptr<Image>& selectedImage() const { return selectedImage_; }
    void setSelectedImage(std::shared_ptr<Image> image) {
        selectedImage_ = std::move(image);
        notify();
    }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // The one tab bar showing the item hears of changes through this.
    void setChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

  private:
    void notify() {
        if (changed_)
            changed_();
    }

    std::optional<std::string> title_;
    std::shared_ptr<Image> image_;
    std::shared_ptr<Image> selectedImage_;
    int tag_ = 0;
    std::function<void()> changed_;
};

}  // namespace uikit
