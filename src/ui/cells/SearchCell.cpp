#include "ui/cells/SearchCell.h"

#include "foundation/Dispatch.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "ui/cells/KSCellViews.h"
#include "uikit/Application.h"
#include "uikit/ApplicationDelegate.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"
#include "uikit/Window.h"

namespace corvane {

using uikit::Font;

namespace {

constexpr double kRowHeight = 60;
constexpr double kInset = 16;
constexpr double kIconSize = 40;
constexpr double kTextX = kInset + kIconSize + 12;
constexpr double kButtonWidth = 80;

std::shared_ptr<uikit::ViewController> presenter() {
    auto delegate = uikit::Application::shared().delegate();
    auto window = delegate ? delegate->window() : nullptr;
    return window ? window->topmostPresentedViewController() : nullptr;
}

}  // namespace

void SearchCell::registerNib() {
    uikit::NibRegistry::shared().registerNib(kNibName, &build);
}

std::shared_ptr<uikit::View> SearchCell::build(const std::shared_ptr<uikit::ViewController>&) {
    auto cell = std::make_shared<SearchCell>();
    const double width = uikit::Screen::main().bounds().width();
    cell->setFrame({0, 0, width, kRowHeight});
    auto& content = *cell->contentView();
    content.setFrame(cell->bounds());
    const double textWidth = width - kTextX - 2 * kInset - kButtonWidth;
    cell->iconView = KSCellViews::imageView(
        content, {kInset, (kRowHeight - kIconSize) / 2, kIconSize, kIconSize});
    cell->iconView->layer().setCornerRadius(kIconSize / 2);
    cell->iconView->setClipsToBounds(true);
    cell->nameLbl =
        KSCellViews::label(content, {kTextX, 12, textWidth, 20}, Font::boldSystemFont(16));
    cell->subinfoLbl = KSCellViews::label(content, {kTextX, 32, textWidth, 16},
                                          Font::systemFont(13), uikit::Color::white(0.45));
    auto follow = std::make_shared<uikit::Button>(uikit::ButtonType::system);
    follow->setFrame({width - kInset - kButtonWidth, (kRowHeight - 28) / 2, kButtonWidth, 28});
    follow->setAutoresizingMask(uikit::Autoresizing::flexibleLeftMargin);
    content.addSubview(follow);
    cell->followBtn = follow;
    cell->separator = KSCellViews::separator(content, kTextX);

    std::weak_ptr<SearchCell> weakCell = cell;
    follow->addAction(
        [weakCell](uikit::Control&) {
            if (auto cell = weakCell.lock())
                cell->changeFollowState();
        },
        uikit::ControlEvent::touchUpInside);
    return cell;
}

void SearchCell::setDeveloperName(std::optional<std::string> name) {
    if (name != developerName_)
        followedHere_.reset();
    developerName_ = std::move(name);
}

void SearchCell::changeFollowState() {
    if (!developerName_)
        return;
    auto& developers = KSRPackageManager::sharedPackageManager().developers();
    const bool followed = followedHere_.value_or(developers.isDeveloperFollowed(*developerName_));
    developers.setDeveloper(*developerName_, !followed);
    followedHere_ = !followed;
    confirm(followed ? "Unfollowed" : "Followed");
    if (auto delegate = delegate_.lock())
        delegate->followStateChanged();
}

void SearchCell::confirm(const std::string& title) {
    auto presenting = presenter();
    if (!presenting)
        return;
    auto alert =
        uikit::AlertController::create(title, std::nullopt, uikit::AlertController::Style::alert);
    presenting->present(alert, true, [alert] {
        foundation::runOnMainAfter(kConfirmationSeconds,
                                   [alert] { dismissAlertController(alert); });
    });
}

void SearchCell::dismissAlertController(const std::shared_ptr<uikit::AlertController>& alert) {
    alert->dismiss(true);
}

void SearchCell::prepareForReuse() {
    uikit::TableViewCell::prepareForReuse();
    followedHere_.reset();
}

}  // namespace corvane
