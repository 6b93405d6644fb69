#include "uikit/CollectionViewCell.h"

#include "uikit/CollectionView.h"

namespace uikit {

CollectionViewCell::CollectionViewCell()
    : View(Rect{0, 0, 50, 50}), contentView_(std::make_shared<View>(Rect{0, 0, 50, 50})) {
    addSubview(contentView_);
}

void CollectionViewCell::prepareForReuse() {
    setHighlighted(false);
    setSelected(false);
}

void CollectionViewCell::touchesBegan(const std::vector<Touch>& touches) {
    setHighlighted(true);
}

void CollectionViewCell::touchesEnded(const std::vector<Touch>& touches) {
    setHighlighted(false);
    bool inside = !touches.empty() && bounds().contains(touches.front().locationInView(this));
    auto collectionView = collectionView_.lock();
    if (inside && collectionView)
        collectionView->cellTapped(*this);
}

void CollectionViewCell::touchesCancelled(const std::vector<Touch>& touches) {
    setHighlighted(false);
}

std::string CollectionViewCell::describeSelf() const {
    return selected_ ? "CollectionViewCell selected" : "CollectionViewCell";
}

}  // namespace uikit
