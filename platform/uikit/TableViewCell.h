#pragma once

#include <memory>
#include <string>

#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/View.h"

namespace uikit {

class TableView;

// One row of a table. Custom cells put their views in the content view; the standard styles
// show a text label, a detail label (value1, value2, subtitle) and an image view, each made on
// first use. A tap on the cell selects its row through the table.
class TableViewCell : public View {
  public:
    // Raw values as the system numbers them.
    enum class Style { defaultStyle = 0, value1 = 1, value2 = 2, subtitle = 3 };
    enum class AccessoryType {
        none = 0,
        disclosureIndicator = 1,
        detailDisclosureButton = 2,
        checkmark = 3,
        detailButton = 4
    };
    enum class SelectionStyle { none = 0, blue = 1, gray = 2, defaultStyle = 3 };
    enum class EditingStyle { none = 0, remove = 1, insert = 2 };
    static constexpr double kMinimumHeight = 44;

    explicit TableViewCell(Style style = Style::defaultStyle, std::string reuseIdentifier = {});

    Style style() const { return style_; }
    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    const std::shared_ptr<View>& contentView() const { return contentView_; }
    const std::shared_ptr<Label>& textLabel();
    // Null for the default style, which has no detail.
    std::shared_ptr<Label> detailTextLabel();
    const std::shared_ptr<ImageView>& imageView();

    AccessoryType accessoryType() const { return accessoryType_; }
    void setAccessoryType(AccessoryType type);
    // Shown in place of the accessory type when set.
    const std::shared_ptr<View>& accessoryView() const { return accessoryView_; }
    void setAccessoryView(std::shared_ptr<View> view);
    SelectionStyle selectionStyle() const { return selectionStyle_; }
    void setSelectionStyle(SelectionStyle style) { selectionStyle_ = style; }
    const EdgeInsets& separatorInset() const { return separatorInset_; }
    void setSeparatorInset(const EdgeInsets& inset) { separatorInset_ = inset; }
    int indentationLevel() const { return indentationLevel_; }
    void setIndentationLevel(int level);
    double indentationWidth() const { return indentationWidth_; }
    void setIndentationWidth(double width);

    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected, bool animated);
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted, bool animated);

    // Called before a cell waiting for reuse is handed out again; the base clears the selection
    // and the highlight, not the texts.
    virtual void prepareForReuse();
    // Called once after a nib builder has made the cell.
    virtual void awakeFromNib() {}

    // The height the content needs at the given width (automatic row heights).
    Size sizeThatFits(Size size) const override;
    void layoutSubviews() override;
    void draw(Canvas& canvas) override;
    // Touches that the content does not handle reach the cell and select its row.
    void touchesBegan(const std::vector<Touch>& touches) override;
    void touchesEnded(const std::vector<Touch>& touches) override;
    void touchesCancelled(const std::vector<Touch>& touches) override;

  protected:
    std::string describeSelf() const override;

  private:
    friend class TableView;
    template <typename>
    friend class ReusePool;
    double contentInset() const;
    double accessoryWidth() const;
    void layoutStandardViews();
    void drawAccessory(Canvas& canvas, const Rect& area) const;
    bool usesStandardViews() const { return textLabel_ || detailTextLabel_ || imageView_; }

    Style style_;
    std::string reuseIdentifier_;
    std::weak_ptr<TableView> table_;
    std::shared_ptr<View> contentView_;
    std::shared_ptr<Label> textLabel_;
    std::shared_ptr<Label> detailTextLabel_;
    std::shared_ptr<ImageView> imageView_;
    AccessoryType accessoryType_ = AccessoryType::none;
    std::shared_ptr<View> accessoryView_;
    SelectionStyle selectionStyle_ = SelectionStyle::defaultStyle;
    EdgeInsets separatorInset_{0, 15, 0, 0};
    int indentationLevel_ = 0;
    double indentationWidth_ = 10;
    bool selected_ = false;
    bool highlighted_ = false;
};

}  // namespace uikit
