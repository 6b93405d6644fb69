#include "ui/cells/GenericCell.h"

#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"

namespace corvane {

void GenericCell::registerNib() {
    uikit::NibRegistry::shared().registerNib(kNibName, &build);
}

std::shared_ptr<uikit::View> GenericCell::build(const std::shared_ptr<uikit::ViewController>&) {
    auto cell = std::make_shared<GenericCell>();
    cell->setFrame({0, 0, uikit::Screen::main().bounds().width(), kMinimumHeight});
    cell->contentView()->setFrame(cell->bounds());
    return cell;
}

}  // namespace corvane
