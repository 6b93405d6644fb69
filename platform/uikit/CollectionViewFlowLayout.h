#pragma once

#include <vector>

#include "uikit/Geometry.h"

namespace uikit {

class CollectionView;

// Items in lines: across the width, line under line, when scrolling vertically; down the
// height, column after column, when scrolling horizontally. The collection view's delegate may
// give each item its size and each section its inset and spacings.
class CollectionViewFlowLayout {
  public:
    // Raw values as the system numbers them.
    enum class ScrollDirection { vertical = 0, horizontal = 1 };

    ScrollDirection scrollDirection() const { return scrollDirection_; }
    void setScrollDirection(ScrollDirection direction) { scrollDirection_ = direction; }
    Size itemSize() const { return itemSize_; }
    void setItemSize(Size size) { itemSize_ = size; }
    double minimumLineSpacing() const { return minimumLineSpacing_; }
    void setMinimumLineSpacing(double spacing) { minimumLineSpacing_ = spacing; }
    double minimumInteritemSpacing() const { return minimumInteritemSpacing_; }
    void setMinimumInteritemSpacing(double spacing) { minimumInteritemSpacing_ = spacing; }
    const EdgeInsets& sectionInset() const { return sectionInset_; }
    void setSectionInset(const EdgeInsets& inset) { sectionInset_ = inset; }

    // Places every item for the collection view's bounds and the given item counts per section.
    void prepare(CollectionView& collectionView, const std::vector<int>& itemCounts);
    Size contentSize() const { return contentSize_; }
    bool contains(const IndexPath& indexPath) const;
    Rect frameForItem(const IndexPath& indexPath) const;
    std::vector<IndexPath> itemsInRect(const Rect& rect) const;

  private:
    struct SectionMetrics {
        EdgeInsets inset;
        double lineSpacing = 0;
        double interitemSpacing = 0;
    };
    SectionMetrics metrics(CollectionView& collectionView, int section) const;
    Size sizeOfItem(CollectionView& collectionView, const IndexPath& indexPath) const;
    // Lays a section out along the main axis from offset; the offset after it.
    double placeSection(CollectionView& collectionView, int section, int count, double offset);

    ScrollDirection scrollDirection_ = ScrollDirection::vertical;
    Size itemSize_{50, 50};
    double minimumLineSpacing_ = 10;
    double minimumInteritemSpacing_ = 10;
    EdgeInsets sectionInset_;

    std::vector<std::vector<Rect>> frames_;
    Size contentSize_;
};

}  // namespace uikit
