#include "uikit/CollectionViewFlowLayout.h"

#include <algorithm>

#include "uikit/CollectionView.h"

namespace uikit {

namespace {

// The flow works in "main" (the scrolling axis) and "cross" coordinates; these turn them back
// into a frame.
Rect frameOf(bool vertical, double main, double cross, Size size) {
    return vertical ? Rect{cross, main, size.width, size.height}
                    : Rect{main, cross, size.width, size.height};
}

}  // namespace

void CollectionViewFlowLayout::prepare(CollectionView& collectionView,
                                       const std::vector<int>& itemCounts) {
    frames_.assign(itemCounts.size(), {});
    double offset = 0;
    for (std::size_t section = 0; section < itemCounts.size(); ++section)
        offset =
            placeSection(collectionView, static_cast<int>(section), itemCounts[section], offset);
    Size bounds = collectionView.bounds().size;
    contentSize_ = scrollDirection_ == ScrollDirection::vertical ? Size{bounds.width, offset}
                                                                 : Size{offset, bounds.height};
}

double CollectionViewFlowLayout::placeSection(CollectionView& collectionView, int section,
                                              int count, double offset) {
    bool vertical = scrollDirection_ == ScrollDirection::vertical;
    auto m = metrics(collectionView, section);
    Size bounds = collectionView.bounds().size;
    double crossStart = vertical ? m.inset.left : m.inset.top;
    double crossEnd = vertical ? bounds.width - m.inset.right : bounds.height - m.inset.bottom;
    double main = offset + (vertical ? m.inset.top : m.inset.left);
    double cross = crossStart;
    double lineExtent = 0;
    auto& frames = frames_[section];
    for (int item = 0; item < count; ++item) {
        Size size = sizeOfItem(collectionView, {section, item});
        double itemCross = vertical ? size.width : size.height;
        double itemMain = vertical ? size.height : size.width;
        if (cross > crossStart && cross + itemCross > crossEnd) {
            main += lineExtent + m.lineSpacing;
            cross = crossStart;
            lineExtent = 0;
        }
        frames.push_back(frameOf(vertical, main, cross, size));
        cross += itemCross + m.interitemSpacing;
        lineExtent = std::max(lineExtent, itemMain);
    }
    return main + lineExtent + (vertical ? m.inset.bottom : m.inset.right);
}

CollectionViewFlowLayout::SectionMetrics CollectionViewFlowLayout::metrics(
    CollectionView& collectionView, int section) const {
    SectionMetrics m{sectionInset_, minimumLineSpacing_, minimumInteritemSpacing_};
    if (auto delegate = collectionView.delegate()) {
        m.inset = delegate->insetForSectionAtIndex(collectionView, section).value_or(m.inset);
        m.lineSpacing = delegate->minimumLineSpacingForSectionAtIndex(collectionView, section)
                            .value_or(m.lineSpacing);
        m.interitemSpacing =
            delegate->minimumInteritemSpacingForSectionAtIndex(collectionView, section)
                .value_or(m.interitemSpacing);
    }
    return m;
}

Size CollectionViewFlowLayout::sizeOfItem(CollectionView& collectionView,
                                          const IndexPath& indexPath) const {
    if (auto delegate = collectionView.delegate())
        if (auto size = delegate->sizeForItemAtIndexPath(collectionView, indexPath))
            return *size;
    return itemSize_;
}

bool CollectionViewFlowLayout::contains(const IndexPath& indexPath) const {
    return indexPath.section >= 0 && indexPath.section < static_cast<int>(frames_.size()) &&
           indexPath.row >= 0 &&
           indexPath.row < static_cast<int>(frames_[indexPath.section].size());
}

Rect CollectionViewFlowLayout::frameForItem(const IndexPath& indexPath) const {
    return contains(indexPath) ? frames_[indexPath.section][indexPath.row] : Rect{};
}

std::vector<IndexPath> CollectionViewFlowLayout::itemsInRect(const Rect& rect) const {
    std::vector<IndexPath> items;
    for (std::size_t section = 0; section < frames_.size(); ++section)
        for (std::size_t item = 0; item < frames_[section].size(); ++item)
            if (frames_[section][item].intersects(rect))
                items.push_back({static_cast<int>(section), static_cast<int>(item)});
    return items;
}

}  // namespace uikit
