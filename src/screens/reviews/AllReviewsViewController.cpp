#include "screens/reviews/AllReviewsViewController.h"

#include <algorithm>

#include "foundation/Dispatch.h"
#include "foundation/Localization.h"
#include "framework/webservice/KSPackageRatings.h"
#include "screens/packages/KSPackageTableScreen.h"
#include "screens/reviews/KSReviewContent.h"
#include "uikit/NibRegistry.h"

namespace corvane {

using uikit::IndexPath;
using uikit::TableView;

namespace {

// Below the comment, inside the card.
constexpr double kCardBottomPadding = 12;

}  // namespace

AllReviewsViewController::AllReviewsViewController() : KSPalettedViewController(kNibName) {
    KSPackageTableScreen::registerNib(kNibName, &AllReviewsViewController::reviewsTableView);
    AllReviewsCell::registerNib();
}

std::shared_ptr<AllReviewsViewController> AllReviewsViewController::self() {
    return std::static_pointer_cast<AllReviewsViewController>(shared_from_this());
}

void AllReviewsViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    setTitle(foundation::localized("Reviews"));
    reviewsTableView->setDelegate(std::weak_ptr<uikit::TableViewDelegate>(self()));
    reviewsTableView->setDataSource(std::weak_ptr<uikit::TableViewDataSource>(self()));
    reviewsTableView->registerNib(AllReviewsCell::kNibName, kReuseIdentifier);
    sizingCell_ = std::dynamic_pointer_cast<AllReviewsCell>(
        uikit::NibRegistry::shared().instantiate(AllReviewsCell::kNibName));
    KSPackageTableScreen::addBackSwipe(self());
}

void AllReviewsViewController::viewWillAppear(bool animated) {
    KSPalettedViewController::viewWillAppear(animated);
    reviewsTableView->setBackgroundColor(uikit::Color::clear());
    fetchReviews();
}

// Only the answer to the latest request counts: an earlier one that arrives late would bring
// back reviews older than those shown.
void AllReviewsViewController::fetchReviews() {
    const auto request = ++lastRequest_;
    auto ratings = std::make_shared<KSPackageRatings>();
    ratings->getReviews(packageIdentifier_, [weak = std::weak_ptr(self()), ratings,
                                             request](const foundation::Value&) {
        foundation::runOnMain([weak, request, reviews = ratings->packageReviews()] {
            if (auto self = weak.lock())
                self->reviewsArrived(request, reviews);
        });
    });
}

void AllReviewsViewController::reviewsArrived(std::uint64_t request,
                                              std::optional<std::vector<KSReviews>> reviews) {
    if (request != lastRequest_ || !reviews)
        return;
    reviews_ = std::move(*reviews);
    reviewsTableView->reloadData();
}

void AllReviewsViewController::paletteDidChange(const KSPalette& palette) {
    view()->setBackgroundColor(palette.backgroundColor());
    if (reviewsTableView)
        reviewsTableView->reloadData();
}

void AllReviewsViewController::backSwipe() {
    KSPackageTableScreen::goBack(*this);
}

int AllReviewsViewController::numberOfRowsInSection(TableView&, int) {
    return static_cast<int>(reviews_.size());
}

bool AllReviewsViewController::shouldHighlightRowAtIndexPath(TableView&, const IndexPath&) {
    return false;
}

std::optional<double> AllReviewsViewController::heightForRowAtIndexPath(
    TableView& tableView, const IndexPath& indexPath) {
    const auto row = static_cast<std::size_t>(indexPath.row);
    if (!sizingCell_ || row >= reviews_.size())
        return std::nullopt;
    return fill(*sizingCell_, reviews_[row], tableView.bounds().width());
}

std::shared_ptr<uikit::TableViewCell> AllReviewsViewController::cellForRowAtIndexPath(
    TableView& tableView, const IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<AllReviewsCell>(
        tableView.dequeueReusableCell(kReuseIdentifier, indexPath));
    const auto row = static_cast<std::size_t>(indexPath.row);
    if (cell && row < reviews_.size())
        fill(*cell, reviews_[row], tableView.bounds().width());
    return cell;
}

double AllReviewsViewController::fill(AllReviewsCell& cell, const KSReviews& review, double width) {
    cell.setBackgroundColor(uikit::Color::clear());
    cell.setFrame({0, 0, width, cell.frame().height()});
    cell.layoutIfNeeded();
    KSReviewContent::fill(cell, review, maintainer_);
    if (palette()) {
        cell.view->setBackgroundColor(palette()->foregroundColor());
        cell.titleLbl->setTextColor(palette()->primaryTextColor());
        cell.nameLbl->setTextColor(palette()->primaryTextColor());
        cell.commentLbl->setTextColor(palette()->primaryTextColor());
    }
    cell.view->layer().setCornerRadius(kCardCornerRadius);
    auto comment = cell.commentLbl->frame();
    comment.size.height = cell.commentLbl->sizeThatFits({comment.width(), 0}).height;
    cell.commentLbl->setFrame(comment);
    auto card = cell.view->frame();
    card.size.height = comment.maxY() + kCardBottomPadding;
    cell.view->setFrame(card);
    return card.maxY() + card.minY();
}

}  // namespace corvane
