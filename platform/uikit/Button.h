#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "uikit/Control.h"
#include "uikit/Image.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"

namespace uikit {

enum class ButtonType { custom, system, detailDisclosure, infoLight, infoDark, contactAdd, close };

// A control with a title and an image per state; a state without its own falls back to normal.
class Button : public Control {
  public:
    explicit Button(ButtonType type = ButtonType::custom);

    ButtonType buttonType() const { return type_; }

    void setTitle(std::optional<std::string> title, ControlState state = ControlStates::normal);
    std::optional<std::string> titleForState(ControlState state) const;
    void setAttributedTitle(std::optional<AttributedString> title,
                            ControlState state = ControlStates::normal);
    std::optional<AttributedString> attributedTitleForState(ControlState state) const;
    void setTitleColor(std::optional<Color> color, ControlState state = ControlStates::normal);
    std::optional<Color> titleColorForState(ControlState state) const;
    void setImage(std::shared_ptr<Image> image, ControlState state = ControlStates::normal);
    std::shared_ptr<Image> imageForState(ControlState state) const;
    void setBackgroundImage(std::shared_ptr<Image> image,
                            ControlState state = ControlStates::normal);
    std::shared_ptr<Image> backgroundImageForState(ControlState state) const;

    // What the button shows in its current state.
    std::optional<std::string> currentTitle() const { return titleForState(state()); }
    Color currentTitleColor() const;
    std::shared_ptr<Image> currentImage() const { return imageForState(state()); }

    // The label and image view that show the current title and image.
    const std::shared_ptr<Label>& titleLabel() const { return titleLabel_; }
    const std::shared_ptr<ImageView>& imageView() const { return imageView_; }
    const EdgeInsets& contentEdgeInsets() const { return contentEdgeInsets_; }
    void setContentEdgeInsets(const EdgeInsets& insets);

    Size intrinsicContentSize() const override;
    Size sizeThatFits(Size size) const override;
    void layoutSubviews() override;
    void draw(Canvas& canvas) override;

  protected:
    void stateDidChange() override;
    void tintColorDidChange() override { refreshContent(); }
    std::string describeSelf() const override;
    bool describesSubview(const View& subview) const override;

  private:
    template <typename T>
    static std::optional<T> lookup(const std::map<ControlState, T>& table, ControlState state);
    void refreshContent();
    std::shared_ptr<Image> displayedImage() const;
    Size contentSize() const;

    ButtonType type_;
    std::map<ControlState, std::string> titles_;
    std::map<ControlState, AttributedString> attributedTitles_;
    std::map<ControlState, Color> titleColors_;
    std::map<ControlState, std::shared_ptr<Image>> images_;
    std::map<ControlState, std::shared_ptr<Image>> backgroundImages_;
    std::shared_ptr<Label> titleLabel_;
    std::shared_ptr<ImageView> imageView_;
    EdgeInsets contentEdgeInsets_;
};

}  // namespace uikit
