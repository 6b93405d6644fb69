#pragma once

#include <memory>

#include "uikit/CollectionViewCell.h"
#include "uikit/Geometry.h"

namespace uikit {

class CollectionView;

// What a collection shows. Only the item count and the cells are required.
class CollectionViewDataSource {
  public:
    virtual ~CollectionViewDataSource() = default;

    virtual int numberOfSections(CollectionView& collectionView) { return 1; }
    virtual int numberOfItemsInSection(CollectionView& collectionView, int section) = 0;
    // Usually a cell dequeued from the collection by its reuse identifier.
    virtual std::shared_ptr<CollectionViewCell> cellForItemAtIndexPath(
        CollectionView& collectionView, const IndexPath& indexPath) = 0;
};

}  // namespace uikit
