#include "screens/website/WebViewNib.h"

#include "screens/website/WebViewViewController.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"

namespace corvane {

using uikit::Autoresizing;

void WebViewNib::registerNib() {
    uikit::NibRegistry::shared().registerNib(WebViewViewController::kNibName, &build);
}

std::shared_ptr<uikit::View> WebViewNib::build(
    const std::shared_ptr<uikit::ViewController>& owner) {
    auto root = std::make_shared<uikit::View>(uikit::Screen::main().bounds());
    root->setAutoresizingMask(Autoresizing::flexibleWidth | Autoresizing::flexibleHeight);
    auto progress = std::make_shared<uikit::ProgressView>(uikit::ProgressViewStyle::bar);
    progress->setFrame({0, 0, root->bounds().width(), kProgressHeight});
    progress->setAutoresizingMask(Autoresizing::flexibleWidth);
    root->addSubview(progress);
    if (auto screen = std::dynamic_pointer_cast<WebViewViewController>(owner))
        screen->progressView = progress;
    return root;
}

}  // namespace corvane
