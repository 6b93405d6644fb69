#include "screens/KSTableScreenNib.h"

#include "uikit/Screen.h"

namespace corvane {

std::pair<std::shared_ptr<uikit::View>, std::shared_ptr<uikit::TableView>>
KSTableScreenNib::make() {
    const auto flexible = uikit::Autoresizing::flexibleWidth | uikit::Autoresizing::flexibleHeight;
    auto root = std::make_shared<uikit::View>(uikit::Screen::main().bounds());
    root->setAutoresizingMask(flexible);
    auto table = std::make_shared<uikit::TableView>(root->bounds());
    table->setAutoresizingMask(flexible);
    table->setSeparatorStyle(uikit::TableView::SeparatorStyle::none);
    root->addSubview(table);
    return {root, table};
}

}  // namespace corvane
