#include "screens/news/NewsViewController.h"

#include "foundation/Dispatch.h"
#include "framework/webservice/KSNewsRetrieval.h"
#include "screens/news/NewsViewControllerNib.h"
#include "ui/cells/NewsCell.h"

namespace corvane {

using uikit::IndexPath;
using uikit::TableView;

namespace {

// Where NewsCell puts the text of an item, below its title, author and date.
constexpr double kContentTop = 54;
constexpr double kContentBottomInset = 10;
constexpr double kContentInset = 16;

double contentHeight(const std::string& body, double tableWidth) {
    uikit::Label measure;
    measure.setFont(uikit::Font::systemFont(15));
    measure.setNumberOfLines(0);
    measure.setText(body);
    return measure.sizeThatFits({tableWidth - 2 * kContentInset, 1e6}).height;
}

}  // namespace

NewsViewController::NewsViewController() : KSPalettedViewController(kNibName) {
    NewsViewControllerNib::registerNib();
    NewsCell::registerNib();
}

void NewsViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    auto self = std::static_pointer_cast<NewsViewController>(shared_from_this());
    newsTableView->setDelegate(std::weak_ptr<uikit::TableViewDelegate>(self));
    newsTableView->setDataSource(std::weak_ptr<uikit::TableViewDataSource>(self));
    newsTableView->registerNib(NewsCell::kNibName, kReuseIdentifier);
    newsTableView->setEstimatedRowHeight(kEstimatedRowHeight);
    doneBtn->addAction(
        [weak = std::weak_ptr(self)](uikit::Control&) {
            if (auto self = weak.lock())
                self->dismiss(true);
        },
        uikit::ControlEvent::touchUpInside);
}

void NewsViewController::viewWillAppear(bool animated) {
    KSPalettedViewController::viewWillAppear(animated);
    showNews();
    const auto& retrieval = KSNewsRetrieval::instance();
    retrieval->fetchNewsWithCompletionHandler(
        [weak = std::weak_ptr(std::static_pointer_cast<NewsViewController>(shared_from_this()))] {
            foundation::runOnMain([weak] {
                if (auto self = weak.lock())
                    self->showNews();
            });
        });
}

void NewsViewController::showNews() {
    news_ = KSNewsRetrieval::instance()->news();
    newsTableView->reloadData();
}

void NewsViewController::paletteDidChange(const KSPalette& palette) {
    view()->setBackgroundColor(palette.backgroundColor());
    if (titleLbl)
        titleLbl->setTextColor(palette.primaryTextColor());
    if (newsTableView)
        newsTableView->reloadData();
}

int NewsViewController::numberOfRowsInSection(TableView&, int) {
    return static_cast<int>(news_.size());
}

std::optional<double> NewsViewController::heightForRowAtIndexPath(TableView& tableView,
                                                                  const IndexPath& indexPath) {
    const auto row = static_cast<std::size_t>(indexPath.row);
    if (row >= news_.size())
        return std::nullopt;
    return kContentTop + contentHeight(news_[row].body, tableView.bounds().width()) +
           kContentBottomInset;
}

std::shared_ptr<uikit::TableViewCell> NewsViewController::cellForRowAtIndexPath(
    TableView& tableView, const IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<NewsCell>(
        tableView.dequeueReusableCell(kReuseIdentifier, indexPath));
    const auto row = static_cast<std::size_t>(indexPath.row);
    if (!cell || row >= news_.size())
        return cell;
    const auto& item = news_[row];
    cell->setBackgroundColor(uikit::Color::clear());
    cell->newsTitleLbl->setText(item.title);
    cell->newsDateLbl->setText(item.date);
    cell->newsContentLbl->setText(item.body);
    const double width = tableView.bounds().width() - 2 * kContentInset;
    cell->newsContentLbl->setFrame(
        {kContentInset, kContentTop, width, contentHeight(item.body, tableView.bounds().width())});
    if (palette()) {
        cell->newsTitleLbl->setTextColor(palette()->primaryTextColor());
        cell->newsContentLbl->setTextColor(palette()->primaryTextColor());
    }
    cell->separator->setHidden(row + 1 == news_.size());
    return cell;
}

}  // namespace corvane
