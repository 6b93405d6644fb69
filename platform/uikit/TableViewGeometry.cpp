#include "uikit/TableViewGeometry.h"

#include <algorithm>

namespace uikit {

void TableViewGeometry::reset(double tableHeader, std::vector<SectionHeights> sections,
                              double tableFooter) {
    tableHeader_ = tableHeader;
    tableFooter_ = tableFooter;
    sections_.clear();
    sections_.reserve(sections.size());
    for (auto& heights : sections) {
        Section section;
        section.heights = std::move(heights);
        sections_.push_back(std::move(section));
    }
    recompute(0);
}

void TableViewGeometry::setRowHeight(const IndexPath& indexPath, double height) {
    if (!contains(indexPath))
        return;
    auto& rows = sections_[indexPath.section].heights.rows;
    if (rows[indexPath.row] == height)
        return;
    rows[indexPath.row] = height;
    recompute(indexPath.section);
}

void TableViewGeometry::setTableHeaderHeight(double height) {
    tableHeader_ = height;
    recompute(0);
}

void TableViewGeometry::setTableFooterHeight(double height) {
    tableFooter_ = height;
    recompute(0);
}

void TableViewGeometry::recompute(int fromSection) {
    double y = fromSection == 0 ? tableHeader_ : sections_[fromSection - 1].bottom;
    for (std::size_t s = fromSection; s < sections_.size(); ++s) {
        auto& section = sections_[s];
        section.top = y;
        y += section.heights.header;
        section.rowTops.resize(section.heights.rows.size());
        for (std::size_t r = 0; r < section.heights.rows.size(); ++r) {
            section.rowTops[r] = y;
            y += section.heights.rows[r];
        }
        section.footerTop = y;
        y += section.heights.footer;
        section.bottom = y;
    }
    contentHeight_ = y + tableFooter_;
}

int TableViewGeometry::numberOfRows(int section) const {
    if (section < 0 || section >= numberOfSections())
        return 0;
    return static_cast<int>(sections_[section].heights.rows.size());
}

bool TableViewGeometry::contains(const IndexPath& indexPath) const {
    return indexPath.row >= 0 && indexPath.row < numberOfRows(indexPath.section);
}

Rect TableViewGeometry::rectForRow(const IndexPath& indexPath, double width) const {
    if (!contains(indexPath))
        return {};
    const auto& section = sections_[indexPath.section];
    return {0, section.rowTops[indexPath.row], width, section.heights.rows[indexPath.row]};
}

Rect TableViewGeometry::rectForHeader(int section, double width) const {
    if (section < 0 || section >= numberOfSections())
        return {};
    return {0, sections_[section].top, width, sections_[section].heights.header};
}

Rect TableViewGeometry::rectForFooter(int section, double width) const {
    if (section < 0 || section >= numberOfSections())
        return {};
    return {0, sections_[section].footerTop, width, sections_[section].heights.footer};
}

std::vector<IndexPath> TableViewGeometry::rowsBetween(double top, double bottom) const {
    std::vector<IndexPath> rows;
    auto firstSection = std::upper_bound(sections_.begin(), sections_.end(), top,
                                         [](double y, const Section& s) { return y < s.bottom; });
    for (auto it = firstSection; it != sections_.end() && it->top < bottom; ++it) {
        const auto& tops = it->rowTops;
        auto first = std::upper_bound(tops.begin(), tops.end(), top);
        std::size_t r = first == tops.begin() ? 0 : (first - tops.begin()) - 1;
        for (; r < tops.size() && tops[r] < bottom; ++r) {
            if (tops[r] + it->heights.rows[r] <= top)
                continue;
            if (it->heights.rows[r] <= 0)
                continue;
            rows.push_back({static_cast<int>(it - sections_.begin()), static_cast<int>(r)});
        }
    }
    return rows;
}

bool TableViewGeometry::rowAt(double y, IndexPath& found) const {
    auto rows = rowsBetween(y, y + 1e-9);
    if (rows.empty())
        return false;
    found = rows.front();
    return true;
}

std::vector<int> TableViewGeometry::rowCounts() const {
    std::vector<int> counts;
    for (const auto& section : sections_)
        counts.push_back(static_cast<int>(section.heights.rows.size()));
    return counts;
}

double TableViewGeometry::topShowingRow(const IndexPath& indexPath,
                                        TableViewScrollPosition position, double top,
                                        double height) const {
    Rect row = rectForRow(indexPath, 0);
    switch (position) {
        case TableViewScrollPosition::top:
            return row.minY();
        case TableViewScrollPosition::middle:
            return row.midY() - height / 2;
        case TableViewScrollPosition::bottom:
            return row.maxY() - height;
        case TableViewScrollPosition::none:
            break;
    }
    if (row.minY() < top)
        return row.minY();
    if (row.maxY() > top + height)
        return row.maxY() - height;
    return top;
}

}  // namespace uikit
