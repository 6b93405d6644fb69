#pragma once

#include <optional>

#include "uikit/CollectionViewCell.h"
#include "uikit/Geometry.h"
#include "uikit/ScrollViewDelegate.h"

namespace uikit {

class CollectionView;

// Told of selection and display, and asked for the flow layout's sizes and spacings; also the
// collection's scroll view delegate. Every method is optional; nullopt keeps the layout's own
// value.
class CollectionViewDelegate : public ScrollViewDelegate {
  public:
    virtual bool shouldSelectItemAtIndexPath(CollectionView& collectionView,
                                             const IndexPath& indexPath) {
        return true;
    }
    virtual void didSelectItemAtIndexPath(CollectionView& collectionView,
                                          const IndexPath& indexPath) {}
    virtual void didDeselectItemAtIndexPath(CollectionView& collectionView,
                                            const IndexPath& indexPath) {}
    virtual void willDisplayCell(CollectionView& collectionView, CollectionViewCell& cell,
                                 const IndexPath& indexPath) {}
    virtual void didEndDisplayingCell(CollectionView& collectionView, CollectionViewCell& cell,
                                      const IndexPath& indexPath) {}

    virtual std::optional<Size> sizeForItemAtIndexPath(CollectionView& collectionView,
                                                       const IndexPath& indexPath) {
        return std::nullopt;
    }
    virtual std::optional<EdgeInsets> insetForSectionAtIndex(CollectionView& collectionView,
                                                             int section) {
        return std::nullopt;
    }
    virtual std::optional<double> minimumLineSpacingForSectionAtIndex(
        CollectionView& collectionView, int section) {
        return std::nullopt;
    }
    virtual std::optional<double> minimumInteritemSpacingForSectionAtIndex(
        CollectionView& collectionView, int section) {
        return std::nullopt;
    }
};

}  // namespace uikit
