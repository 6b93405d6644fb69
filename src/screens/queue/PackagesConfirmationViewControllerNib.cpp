#include "screens/queue/PackagesConfirmationViewControllerNib.h"

#include "foundation/Localization.h"
#include "screens/queue/PackagesConfirmationViewController.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"

namespace corvane {

using uikit::Autoresizing;

void PackagesConfirmationViewControllerNib::registerNib() {
    uikit::NibRegistry::shared().registerNib(PackagesConfirmationViewController::kNibName, &build);
}

std::shared_ptr<uikit::View> PackagesConfirmationViewControllerNib::build(
    const std::shared_ptr<uikit::ViewController>& owner) {
    const auto screen = uikit::Screen::main().bounds();
    auto root = std::make_shared<uikit::View>(screen);
    root->setAutoresizingMask(Autoresizing::flexibleWidth | Autoresizing::flexibleHeight);

    const double strip = kButtonHeight + 2 * kButtonInset;
    auto table = std::make_shared<uikit::TableView>(
        uikit::Rect{0, 0, screen.width(), screen.height() - strip});
    table->setAutoresizingMask(Autoresizing::flexibleWidth | Autoresizing::flexibleHeight);
    table->setSeparatorStyle(uikit::TableView::SeparatorStyle::none);
    root->addSubview(table);

    auto confirm = std::make_shared<uikit::Button>(uikit::ButtonType::custom);
    confirm->setFrame({kButtonInset, screen.height() - kButtonInset - kButtonHeight,
                       screen.width() - 2 * kButtonInset, kButtonHeight});
    confirm->setAutoresizingMask(Autoresizing::flexibleWidth | Autoresizing::flexibleTopMargin);
    confirm->setTitle(foundation::localized("Confirm"));
    confirm->setTitleColor(uikit::Color::white());
    confirm->titleLabel()->setFont(uikit::Font::boldSystemFont(17));
    root->addSubview(confirm);

    if (auto confirmation = std::dynamic_pointer_cast<PackagesConfirmationViewController>(owner)) {
        confirmation->packagesConfirmationTableView = table;
        confirmation->confirmBtn = confirm;
    }
    return root;
}

}  // namespace corvane
