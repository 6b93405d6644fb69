#include "screens/website/WebDepictionViewController.h"

#include "foundation/Bundle.h"
#include "foundation/Dispatch.h"
#include "foundation/Localization.h"
#include "foundation/URLError.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRSource.h"
#include "screens/website/WebDepictionHeader.h"
#include "screens/website/WebDepictionNib.h"
#include "screens/website/WebDepictionRequest.h"
#include "screens/website/WebNewWindow.h"
#include "ui/core/KSApplicationServices.h"
#include "ui/extensions/GetButton.h"
#include "uikit/Animation.h"
#include "uikit/Application.h"
#include "uikit/BarButtonItem.h"
#include "uikit/SafariViewController.h"
#include "uikit/Screen.h"

namespace corvane {

namespace {

std::optional<KSRPackage> storedPackage(const std::string& identifier) {
    return KSDatabase::realm().objectForPrimaryKey<KSRPackage>(identifier);
}

std::optional<KSRSource> sourceOf(const std::optional<KSRPackage>& package) {
    if (!package || !package->sourceLocation)
        return std::nullopt;
    return KSDatabase::realm().objectForPrimaryKey<KSRSource>(*package->sourceLocation);
}

bool isSmallScreen() {
    const double height = uikit::Screen::main().bounds().height();
    return height == 568.0 || height == 480.0;
}

}  // namespace

WebDepictionViewController::WebDepictionViewController()
    : KSPalettedViewController(WebDepictionNib::kNibName) {
    WebDepictionNib::registerNib();
}

std::weak_ptr<WebDepictionViewController> WebDepictionViewController::weakSelf() {
    return std::static_pointer_cast<WebDepictionViewController>(shared_from_this());
}

void WebDepictionViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    setOverrideLargeTitles(true);
    firstAppear_ = true;
    if (websiteURL_) {
        const auto package = storedPackage(packageIdentifier_);
        request_ = WebDepictionRequest::make(
            *websiteURL_, package ? package->sourceLocation : std::nullopt, isDarkMode());
    }
    buildBarButtons();
    connectButtons();
}

void WebDepictionViewController::buildBarButtons() {
    if (isPresented_) {
        navigationItem()->setLeftBarButtonItem(uikit::BarButtonItem::withTitle(
            foundation::localized("Close"), uikit::BarButtonItem::Style::plain,
            [weak = weakSelf()](uikit::BarButtonItem&) {
                if (auto page = weak.lock())
                    page->dismissVC();
            }));
    }
    navigationItem()->setRightBarButtonItem(uikit::BarButtonItem::withTitle(
        foundation::localized("Open in Safari"), uikit::BarButtonItem::Style::plain,
        [weak = weakSelf()](uikit::BarButtonItem&) {
            if (auto page = weak.lock())
                page->openInSafari();
        }));
}

void WebDepictionViewController::connectButtons() {
    getBtn->addAction(
        [weak = weakSelf()](uikit::Control&) {
            if (auto page = weak.lock())
                page->getPackage(page->getBtn);
        },
        uikit::ControlEvent::touchUpInside);
    GetButton::addTarget(*getBtn, [weak = weakSelf()](uikit::GestureRecognizer& recognizer) {
        if (auto page = weak.lock())
            page->presentOptionsFromGesture(recognizer);
    });
    shareBtn->addAction(
        [weak = weakSelf()](uikit::Control&) {
            if (auto page = weak.lock())
                page->sharePackage(page->shareBtn);
        },
        uikit::ControlEvent::touchUpInside);
}

// What changed while the page was covered (installed, updated, held) shows when it returns.
void WebDepictionViewController::viewWillAppear(bool animated) {
    KSPalettedViewController::viewWillAppear(animated);
    const auto package = storedPackage(packageIdentifier_);
    const auto source = sourceOf(package);
    WebDepictionHeader::fill(*this, package);
    WebDepictionHeader::layout(*this, isSmallScreen(), source && source->isUsingInfoJson);
    getBtn->setHidden(packageIdentifier_ == foundation::Bundle::bundleIdentifier() &&
                      !(package && package->isUpdated));
    layoutPage();
    WebDepictionHeader::finishPlaced(*this, isSmallScreen());
    updateGetButtonTitle(package);
}

void WebDepictionViewController::updateGetButtonTitle(const std::optional<KSRPackage>& package) {
    const std::string title = package ? WebDepictionHeader::getButtonTitle(*package) : "";
    getBtn->setTitle(title);
    const double width = uikit::Font::boldSystemFont(13).sizeOfText(title).width;
    layoutPage();
    uikit::Animation::animate(kGetButtonAnimationDuration, [&] {
        getBtnWidthConstraint->setConstant(width + kGetButtonPadding);
        layoutPage();
    });
}

void WebDepictionViewController::layoutPage() {
    containerView->placeSections();
}

void WebDepictionViewController::viewDidAppear(bool animated) {
    KSPalettedViewController::viewDidAppear(animated);
    if (!firstAppear_)
        return;
    firstAppear_ = false;
    buildWebView();
}

void WebDepictionViewController::buildWebView() {
    webkit::WebViewConfiguration configuration;
    configuration.applicationNameForUserAgent = applicationName();
    webView_ = std::make_shared<webkit::WebView>(uikit::Rect{}, configuration);
    webView_->setNavigationDelegate(weakSelf());
    webView_->setUIDelegate(weakSelf());
    webView_->setTranslatesAutoresizingMaskIntoConstraints(false);
    webViewContainer->addSubview(webView_);
    for (auto [edge, to] : {std::pair{&uikit::View::leadingAnchor, &uikit::View::leadingAnchor},
                            std::pair{&uikit::View::trailingAnchor, &uikit::View::trailingAnchor},
                            std::pair{&uikit::View::topAnchor, &uikit::View::topAnchor}})
        ((*webView_).*edge)().constraintEqualTo(((*webViewContainer).*to)())->setActive(true);
    webView_->heightAnchor().constraintEqualTo(webViewContainer->heightAnchor())->setActive(true);
    webView_->scrollView()->setScrollEnabled(false);
    placeholderView->setHidden(true);
    progressObservation_ =
        webView_->observeEstimatedProgress([weak = weakSelf()](const double& progress) {
            if (auto page = weak.lock())
                page->progressChanged(progress);
        });
    contentSizeObservation_ =
        webView_->observeContentSize([weak = weakSelf()](const uikit::Size& size) {
            if (auto page = weak.lock())
                page->contentSizeChanged(size);
        });
    layoutPage();
    if (request_)
        webView_->loadRequest(*request_);
}

void WebDepictionViewController::progressChanged(double progress) {
    progressView->setAlpha(1.0);
    progressView->setProgress(progress, true);
    if (progress < 1.0)
        return;
    foundation::runOnMainAfter(kProgressFadeSeconds, [weak = weakSelf()] {
        auto page = weak.lock();
        if (!page)
            return;
        uikit::Animation::animate(
            kProgressFadeSeconds, 0, uikit::AnimationOption::curveEaseOut,
            [page] { page->progressView->setAlpha(0.0); },
            [weak = std::weak_ptr(page)](bool) {
                if (auto page = weak.lock())
                    page->progressView->setProgress(0.0, false);
            });
    });
}

// The page scrolls as one with the header: the container takes the page's whole height.
void WebDepictionViewController::contentSizeChanged(const uikit::Size& size) {
    if (!errorLbl->isHidden())
        return;
    webViewContainerHeightConstraint->setConstant(size.height);
    containerView->setNeedsLayout();
}

void WebDepictionViewController::setModeForRequest() {
    if (!request_)
        return;
    const bool dark = isDarkMode();
    WebDepictionRequest::setMode(*request_, dark);
    if (!webView_)
        return;
    webView_->configuration().applicationNameForUserAgent = applicationName();
    webView_->loadRequest(*request_);
}

// The application and the device are named in the web view's user agent only to the
// repository's own host, like the device headers.
std::string WebDepictionViewController::applicationName() const {
    if (!request_ || !WebDepictionRequest::identifiesDevice(*request_))
        return {};
    return WebDepictionRequest::applicationName(isDarkMode());
}

void WebDepictionViewController::getPackage(const std::shared_ptr<uikit::View>& sender) {
    if (auto button = std::dynamic_pointer_cast<uikit::Button>(sender); button == getBtn)
        GetButton::animateButton(*button);
    if (auto services = KSApplicationServices::shared())
        services->queuePackageWithIdentifier(packageIdentifier_, std::nullopt, sender);
}

void WebDepictionViewController::presentOptionsFromGesture(
    const uikit::GestureRecognizer& recognizer) {
    if (recognizer.state() == uikit::GestureRecognizer::State::began && recognizer.view())
        presentOptions(recognizer.view()->shared_from_this());
}

void WebDepictionViewController::presentOptions(const std::shared_ptr<uikit::View>& sender) {
    if (auto services = KSApplicationServices::shared())
        services->presentOptions(packageIdentifier_, sender);
}

void WebDepictionViewController::sharePackage(const std::shared_ptr<uikit::View>& sender) {
    if (auto services = KSApplicationServices::shared())
        services->sharePackage(packageIdentifier_, sender);
}

void WebDepictionViewController::dismissVC() {
    dismiss(true);
}

void WebDepictionViewController::openInSafari() {
    auto browser = websiteURL_ ? uikit::SafariViewController::create(*websiteURL_) : nullptr;
    if (!browser)
        return;
    if (palette()) {
        browser->setPreferredBarTintColor(palette()->backgroundColor());
        browser->setPreferredControlTintColor(palette()->tintColor());
    }
    browser->setDelegate(weakSelf());
    present(browser, true);
}

void WebDepictionViewController::didStartProvisionalNavigation(webkit::WebView&) {
    errorLbl->setHidden(true);
}

void WebDepictionViewController::didFinishNavigation(webkit::WebView&) {
    uikit::Application::shared().setNetworkActivityIndicatorVisible(false);
}

void WebDepictionViewController::didFailProvisionalNavigation(webkit::WebView&,
                                                              const foundation::Error& error) {
    loadFailed(error);
}

void WebDepictionViewController::didFailNavigation(webkit::WebView&,
                                                   const foundation::Error& error) {
    loadFailed(error);
}

// A load replaced by the next one (a palette change, a link) is no failure of the page.
void WebDepictionViewController::loadFailed(const foundation::Error& error) {
    uikit::Application::shared().setNetworkActivityIndicatorVisible(false);
    if (error.domain == foundation::URLError::kDomain &&
        error.code == foundation::URLError::Cancelled)
        return;
    errorLbl->setText(foundation::localized("The depiction could not be loaded.") + "\n" +
                      error.localizedDescription());
    errorLbl->setHidden(false);
    webViewContainerHeightConstraint->setConstant(WebDepictionNib::kPlaceholderHeight);
    layoutPage();
}

std::shared_ptr<webkit::WebView> WebDepictionViewController::createWebViewWithConfiguration(
    webkit::WebView& webView, webkit::WebViewConfiguration&,
    const webkit::NavigationAction& action) {
    return WebNewWindow::openInPlace(webView, action);
}

void WebDepictionViewController::paletteDidChange(const KSPalette& palette) {
    if (!isViewLoaded() || !nameLbl)
        return;
    for (const auto& view : {view(), webViewContainer, placeholderView})
        view->setBackgroundColor(palette.backgroundColor());
    // The captions too, which would otherwise stay black on a dark page.
    for (const auto& label : {nameLbl, sizeLbl, versionLbl, categoryLbl})
        label->setTextColor(palette.primaryTextColor());
    for (const auto& button : {getBtn, shareBtn})
        button->setBackgroundColor(palette.tintColor());
    if (didLastPaletteChangeUpdateDarkmode())
        setModeForRequest();
}

}  // namespace corvane
