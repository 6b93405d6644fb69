#include "ui/cells/GetPackageCell.h"

#include <algorithm>

#include "foundation/Dispatch.h"
#include "foundation/Localization.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSDatabase.h"
#include "ui/cells/KSCellViews.h"
#include "ui/cells/KSPackageIconFrame.h"
#include "ui/cells/KSPackageSourceLine.h"
#include "ui/core/KSApplicationServices.h"
#include "ui/extensions/GetButton.h"
#include "uikit/Animation.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"

namespace corvane {

using uikit::Font;

namespace {

constexpr double kInset = 16;
constexpr double kIconSize = 48;
constexpr double kTextX = kInset + kIconSize + 12;
constexpr double kButtonHeight = 28;
constexpr double kInitialButtonWidth = 70;

bool isPriceShown(const std::optional<std::string>& price) {
    if (!price)
        return false;
    for (const char* free : {"", "0", "free", "Free"})
        if (*price == free)
            return false;
    return true;
}

std::optional<KSRPackage> storedPackage(const std::string& identifier) {
    return KSDatabase::realm().objectForPrimaryKey<KSRPackage>(identifier);
}

}  // namespace

void GetPackageCell::registerNib() {
    uikit::NibRegistry::shared().registerNib(kNibName, &build);
}

std::shared_ptr<uikit::View> GetPackageCell::build(const std::shared_ptr<uikit::ViewController>&) {
    auto cell = std::make_shared<GetPackageCell>();
    cell->setFrame({0, 0, uikit::Screen::main().bounds().width(), kRowHeight});
    auto& content = *cell->contentView();
    content.setFrame(cell->bounds());
    cell->iconView = KSCellViews::imageView(
        content, {kInset, (kRowHeight - kIconSize) / 2, kIconSize, kIconSize});
    cell->nameLbl = KSCellViews::label(content, {kTextX, 16, 0, 20}, Font::boldSystemFont(16));
    cell->maintainerLbl = KSCellViews::label(content, {kTextX, 36, 0, 16}, Font::systemFont(13),
                                             uikit::Color::white(0.45));
    auto button = std::make_shared<uikit::Button>(uikit::ButtonType::custom);
    button->setFrame({0, (kRowHeight - kButtonHeight) / 2, kInitialButtonWidth, kButtonHeight});
    button->titleLabel()->setFont(Font::boldSystemFont(kTitleFontSize));
    content.addSubview(button);
    cell->getBtn = button;
    cell->getBtnWidthConstraint =
        button->widthAnchor().constraintEqualToConstant(kInitialButtonWidth);
    cell->getBtnWidthConstraint->setActive(true);
    cell->separator = KSCellViews::separator(content, kTextX);

    std::weak_ptr<GetPackageCell> weakCell = cell;
    button->addAction(
        [weakCell](uikit::Control&) {
            if (auto cell = weakCell.lock())
                cell->getPackage();
        },
        uikit::ControlEvent::touchUpInside);
    return cell;
}

void GetPackageCell::awakeFromNib() {
    uikit::TableViewCell::awakeFromNib();
    GetButton::addTarget(*getBtn, [weak = weakSelf()](uikit::GestureRecognizer& recognizer) {
        if (auto self = weak.lock())
            self->showOptionsAlert(recognizer);
    });
}

std::weak_ptr<GetPackageCell> GetPackageCell::weakSelf() {
    return std::static_pointer_cast<GetPackageCell>(shared_from_this());
}

void GetPackageCell::setPackageIdentifier(const std::string& identifier) {
    packageIdentifier_ = identifier;
    queueState_.observe(identifier, [weak = weakSelf()](const std::optional<KSRPackage>& stored) {
        if (auto self = weak.lock())
            self->updateButtonTitleWithPackage(stored, false);
    });
}

void GetPackageCell::updateWithPackage(const KSRPackage& package) {
    setPackageIdentifier(package.identifier);
    nameLbl->setText(package.name);
    nameLbl->setAdjustsFontSizeToFitWidth(false);
    maintainerLbl->setText(KSPackageSourceLine::isPreferred() ? KSPackageSourceLine::text(package)
                                                              : maintainerText(package));
    KSPackageIconFrame::apply(*iconView);
    getBtn->layer().setCornerRadius(getBtn->frame().height() / 2);
    setNeedsLayout();
}

// The maintainer, else (only when there is none) the contact; when that is no text, the
// source's contact.
std::string GetPackageCell::maintainerText(const KSRPackage& package) {
    const auto own = package.maintainer ? package.maintainer : package.contact;
    if (own && !own->empty())
        return *own;
    if (!package.sourceLocation)
        return foundation::localized("Unknown");
    const auto source = KSPackageSourceLine::source(package);
    return source ? source->contact.value_or("") : "";
}

void GetPackageCell::updatePackageIcon() {
    iconView->setImage(
        KSRPackageManager::sharedPackageManager().packages().iconForIdentifier(packageIdentifier_));
}

std::string GetPackageCell::buttonTitleForPackage(const std::optional<KSRPackage>& package,
                                                  bool showsPaidLabel) {
    if (!package)
        return foundation::localized("GET");
    if (package->isInTheQueue)
        return foundation::localized("QUEUED");
    if (package->isUpdated && !package->isHeld)
        return foundation::localized("UPDATE");
    if (package->isInstalled)
        return foundation::localized("UNINSTALL");
    if (showsPaidLabel && isPriceShown(package->price))
        return *package->price;
    return foundation::localized("GET");
}

void GetPackageCell::updateButtonTitleWithPackage(const std::optional<KSRPackage>& package,
                                                  bool showsPaidLabel) {
    foundation::runOnMain(
        [weak = weakSelf(), title = buttonTitleForPackage(package, showsPaidLabel)] {
            if (auto self = weak.lock())
                self->applyButtonTitle(title);
        });
}

void GetPackageCell::applyButtonTitle(const std::string& title) {
    const double width = Font::boldSystemFont(kTitleFontSize).sizeOfText(title).width;
    uikit::Animation::animate(kTitleAnimationDuration, [&] {
        getBtnWidthConstraint->setConstant(width + kTitlePadding);
        getBtn->setTitle(title);
        setNeedsLayout();
        layoutIfNeeded();
    });
}

void GetPackageCell::getPackage() {
    GetButton::animateButton(*getBtn);
    if (auto services = KSApplicationServices::shared())
        services->queuePackageWithIdentifier(packageIdentifier_, std::nullopt, getBtn);
    refreshButtonTitleNextTurn();
}

void GetPackageCell::refreshButtonTitleNextTurn() {
    foundation::runAsyncOnMain([weak = weakSelf()] {
        if (auto self = weak.lock())
            self->updateButtonTitleWithPackage(storedPackage(self->packageIdentifier_), false);
    });
}

void GetPackageCell::showOptionsAlert(const uikit::GestureRecognizer& recognizer) {
    if (recognizer.state() != uikit::GestureRecognizer::State::began)
        return;
    foundation::runAsyncOnMain([weak = weakSelf()] {
        auto self = weak.lock();
        auto services = KSApplicationServices::shared();
        if (self && services)
            services->presentOptions(self->packageIdentifier_, self->getBtn);
    });
}

void GetPackageCell::prepareForReuse() {
    uikit::TableViewCell::prepareForReuse();
    queueState_.stop();
}

void GetPackageCell::layoutSubviews() {
    uikit::TableViewCell::layoutSubviews();
    const auto content = contentView()->bounds();
    const double buttonWidth = getBtnWidthConstraint->constant();
    const double buttonX = content.width() - kInset - buttonWidth;
    getBtn->setFrame({buttonX, (content.height() - kButtonHeight) / 2, buttonWidth, kButtonHeight});
    iconView->setFrame({kInset, (content.height() - kIconSize) / 2, kIconSize, kIconSize});
    const double textWidth = std::max(0.0, buttonX - 8 - kTextX);
    nameLbl->setFrame({kTextX, 16, textWidth, 20});
    maintainerLbl->setFrame({kTextX, 36, textWidth, 16});
}

}  // namespace corvane
