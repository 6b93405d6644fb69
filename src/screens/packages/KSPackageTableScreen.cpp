#include "screens/packages/KSPackageTableScreen.h"

#include "uikit/NavigationController.h"
#include "uikit/Screen.h"
#include "uikit/SwipeGestureRecognizer.h"

namespace corvane {

KSPackageTableScreen::Views KSPackageTableScreen::make(bool withProgressBar) {
    const auto flexible = uikit::Autoresizing::flexibleWidth | uikit::Autoresizing::flexibleHeight;
    Views nib;
    nib.root = std::make_shared<uikit::View>(uikit::Screen::main().bounds());
    nib.root->setAutoresizingMask(flexible);
    nib.table = std::make_shared<uikit::TableView>(nib.root->bounds());
    nib.table->setAutoresizingMask(flexible);
    nib.table->setSeparatorStyle(uikit::TableView::SeparatorStyle::none);
    nib.root->addSubview(nib.table);
    if (!withProgressBar)
        return nib;
    nib.progressBar = std::make_shared<uikit::ProgressView>(uikit::ProgressViewStyle::bar);
    nib.progressBar->setFrame({0, 0, nib.root->bounds().width(), 2});
    nib.progressBar->setAutoresizingMask(uikit::Autoresizing::flexibleWidth);
    nib.root->addSubview(nib.progressBar);
    return nib;
}

std::shared_ptr<PackageCell> KSPackageTableScreen::dequeueRow(uikit::TableView& table,
                                                              const uikit::IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<PackageCell>(
        table.dequeueReusableCell(PackageCell::kReuseIdentifier, indexPath));
    if (cell)
        cell->setBackgroundColor(uikit::Color::clear());
    return cell;
}

void KSPackageTableScreen::addRightSwipe(uikit::View& view, std::function<void()> action) {
    auto swipe = std::make_shared<uikit::SwipeGestureRecognizer>(
        [action = std::move(action)](uikit::GestureRecognizer&) { action(); });
    swipe->setDirection(uikit::SwipeDirection::right);
    view.addGestureRecognizer(swipe);
}

void KSPackageTableScreen::goBack(uikit::ViewController& screen) {
    if (auto navigation = screen.navigationController())
        navigation->pop(true);
}

}  // namespace corvane
