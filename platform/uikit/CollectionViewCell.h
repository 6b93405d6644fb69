#pragma once

#include <memory>
#include <string>

#include "uikit/View.h"

namespace uikit {

class CollectionView;

// One item of a collection. Custom cells put their views in the content view; a tap on the
// cell selects its item through the collection view.
class CollectionViewCell : public View {
  public:
    CollectionViewCell();

    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    const std::shared_ptr<View>& contentView() const { return contentView_; }
    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected) { selected_ = selected; }
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted) { highlighted_ = highlighted; }

    // Called before a cell waiting for reuse is handed out again.
    virtual void prepareForReuse();
    // Called once after a nib builder has made the cell.
    virtual void awakeFromNib() {}

    void layoutSubviews() override { contentView_->setFrame(bounds()); }
    void touchesBegan(const std::vector<Touch>& touches) override;
    void touchesEnded(const std::vector<Touch>& touches) override;
    void touchesCancelled(const std::vector<Touch>& touches) override;

  protected:
    std::string describeSelf() const override;

  private:
    friend class CollectionView;
    template <typename>
    friend class ReusePool;
    std::string reuseIdentifier_;
    std::weak_ptr<CollectionView> collectionView_;
    std::shared_ptr<View> contentView_;
    bool selected_ = false;
    bool highlighted_ = false;
};

}  // namespace uikit
