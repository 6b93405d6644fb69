#include "uikit/TableViewSupplements.h"

#include <utility>

#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"

namespace uikit {

namespace {

constexpr const char* kTitleIdentifier = "TableView.titleSupplement";
constexpr double kPlainTitleHeight = 28;
constexpr double kGroupedTitleHeight = 38;
constexpr double kGroupedGap = 18;
// A header or footer lower than this is not shown (tables use 0.001 to mean "none").
constexpr double kSmallestSupplement = 1;

}  // namespace

TableViewSupplements::TableViewSupplements(TableView& table,
                                           const std::weak_ptr<TableViewDataSource>& dataSource,
                                           const std::weak_ptr<TableViewDelegate>& delegate,
                                           bool grouped)
    : table_(table), dataSource_(dataSource), delegate_(delegate), grouped_(grouped) {
    pool_.registerBuilder(kTitleIdentifier, [] {
        return std::make_shared<TableViewHeaderFooterView>(kTitleIdentifier);
    });
}

double TableViewSupplements::configuredHeight(Kind kind) const {
    return kind == Kind::header ? headerHeight_ : footerHeight_;
}

void TableViewSupplements::setConfiguredHeight(Kind kind, double height) {
    (kind == Kind::header ? headerHeight_ : footerHeight_) = height;
}

void TableViewSupplements::registerBuilder(const std::string& identifier, Builder builder) {
    pool_.registerBuilder(identifier, std::move(builder));
}

std::shared_ptr<TableViewHeaderFooterView> TableViewSupplements::dequeue(
    const std::string& identifier) {
    return pool_.dequeue(identifier);
}

// A view of the delegate's is made only to be measured, and goes back to the pool at once.
double TableViewSupplements::height(Kind kind, int section) {
    auto delegate = delegate_.lock();
    bool header = kind == Kind::header;
    if (delegate) {
        auto height = header ? delegate->heightForHeaderInSection(table_, section)
                             : delegate->heightForFooterInSection(table_, section);
        if (height && *height >= 0)
            return *height;
    }
    double configured = configuredHeight(kind);
    if (auto title = this->title(kind, section); title && !title->empty()) {
        if (configured >= 0)
            return configured;
        return grouped_ ? kGroupedTitleHeight : kPlainTitleHeight;
    }
    if (auto view = delegateView(kind, section)) {
        double height = configured >= 0 ? configured : view->frame().height();
        recycle(view);
        return height;
    }
    return grouped_ ? kGroupedGap : 0;
}

void TableViewSupplements::tile(const TableViewGeometry& geometry, double width, double top,
                                double bottom, const Placer& place) {
    tileKind(Kind::header, geometry, width, top, bottom, place);
    tileKind(Kind::footer, geometry, width, top, bottom, place);
}

void TableViewSupplements::tileKind(Kind kind, const TableViewGeometry& geometry, double width,
                                    double top, double bottom, const Placer& place) {
    auto delegate = delegate_.lock();
    auto& visible = kind == Kind::header ? headers_ : footers_;
    for (int section = 0; section < geometry.numberOfSections(); ++section) {
        Rect rect = kind == Kind::header ? geometry.rectForHeader(section, width)
                                         : geometry.rectForFooter(section, width);
        bool show =
            rect.height() >= kSmallestSupplement && rect.maxY() > top && rect.minY() < bottom;
        auto found = visible.find(section);
        if (found != visible.end()) {
            if (show) {
                found->second->setFrame(rect);
            } else {
                recycle(found->second);
                visible.erase(found);
            }
            continue;
        }
        auto view = show ? make(kind, section) : nullptr;
        if (!view)
            continue;
        view->setFrame(rect);
        place(view);
        visible[section] = view;
        if (delegate && kind == Kind::header)
            delegate->willDisplayHeaderView(table_, *view, section);
        if (delegate && kind == Kind::footer)
            delegate->willDisplayFooterView(table_, *view, section);
    }
}

void TableViewSupplements::recycleAll() {
    for (auto& [section, view] : std::exchange(headers_, {}))
        recycle(view);
    for (auto& [section, view] : std::exchange(footers_, {}))
        recycle(view);
}

std::optional<std::string> TableViewSupplements::title(Kind kind, int section) {
    auto dataSource = dataSource_.lock();
    if (!dataSource)
        return std::nullopt;
    return kind == Kind::header ? dataSource->titleForHeaderInSection(table_, section)
                                : dataSource->titleForFooterInSection(table_, section);
}

std::shared_ptr<View> TableViewSupplements::delegateView(Kind kind, int section) {
    auto delegate = delegate_.lock();
    if (!delegate)
        return nullptr;
    return kind == Kind::header ? delegate->viewForHeaderInSection(table_, section)
                                : delegate->viewForFooterInSection(table_, section);
}

std::shared_ptr<View> TableViewSupplements::make(Kind kind, int section) {
    if (auto view = delegateView(kind, section))
        return view;
    auto title = this->title(kind, section);
    if (!title || title->empty())
        return nullptr;
    auto titled = dequeue(kTitleIdentifier);
    titled->textLabel()->setText(*title);
    return titled;
}

void TableViewSupplements::recycle(const std::shared_ptr<View>& view) {
    view->removeFromSuperview();
    if (auto supplement = std::dynamic_pointer_cast<TableViewHeaderFooterView>(view))
        pool_.enqueue(supplement->reuseIdentifier(), supplement);
}

}  // namespace uikit
