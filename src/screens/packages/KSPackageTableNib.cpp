#include "screens/packages/KSPackageTableNib.h"

#include "uikit/Screen.h"

namespace corvane {

KSPackageTableNib KSPackageTableNib::make() {
    const auto flexible = uikit::Autoresizing::flexibleWidth | uikit::Autoresizing::flexibleHeight;
    KSPackageTableNib nib;
    nib.root = std::make_shared<uikit::View>(uikit::Screen::main().bounds());
    nib.root->setAutoresizingMask(flexible);
    nib.table = std::make_shared<uikit::TableView>(nib.root->bounds());
    nib.table->setAutoresizingMask(flexible);
    nib.table->setSeparatorStyle(uikit::TableView::SeparatorStyle::none);
    nib.root->addSubview(nib.table);
    nib.progressBar = std::make_shared<uikit::ProgressView>(uikit::ProgressViewStyle::bar);
    nib.progressBar->setFrame({0, 0, nib.root->bounds().width(), 2});
    nib.progressBar->setAutoresizingMask(uikit::Autoresizing::flexibleWidth);
    nib.root->addSubview(nib.progressBar);
    return nib;
}

}  // namespace corvane
