#include "screens/news/NewsViewControllerNib.h"

#include "foundation/Localization.h"
#include "screens/news/NewsViewController.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"

namespace corvane {

using uikit::Autoresizing;

void NewsViewControllerNib::registerNib() {
    uikit::NibRegistry::shared().registerNib(NewsViewController::kNibName, &build);
}

std::shared_ptr<uikit::View> NewsViewControllerNib::build(
    const std::shared_ptr<uikit::ViewController>& owner) {
    constexpr double kInset = 16;
    const auto screen = uikit::Screen::main().bounds();
    auto root = std::make_shared<uikit::View>(screen);
    root->setAutoresizingMask(Autoresizing::flexibleWidth | Autoresizing::flexibleHeight);

    auto title = std::make_shared<uikit::Label>();
    title->setFrame({kInset, 24, screen.width() - 2 * kInset, 30});
    title->setFont(uikit::Font::boldSystemFont(28));
    title->setText(foundation::localized("News"));
    root->addSubview(title);

    auto done = std::make_shared<uikit::Button>(uikit::ButtonType::system);
    done->setTitle(foundation::localized("Done"));
    done->setFrame({screen.width() - kInset - 60, 24, 60, 30});
    done->setAutoresizingMask(Autoresizing::flexibleLeftMargin);
    root->addSubview(done);

    auto table = std::make_shared<uikit::TableView>(
        uikit::Rect{0, kTitleBarHeight, screen.width(), screen.height() - kTitleBarHeight});
    table->setAutoresizingMask(Autoresizing::flexibleWidth | Autoresizing::flexibleHeight);
    table->setSeparatorStyle(uikit::TableView::SeparatorStyle::none);
    root->addSubview(table);

    if (auto news = std::dynamic_pointer_cast<NewsViewController>(owner)) {
        news->titleLbl = title;
        news->doneBtn = done;
        news->newsTableView = table;
    }
    return root;
}

}  // namespace corvane
