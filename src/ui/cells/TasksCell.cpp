#include "ui/cells/TasksCell.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/NotificationCenter.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/tasks/KSPipelineManager.h"
#include "ui/cells/KSCellViews.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"

namespace corvane {

using uikit::Color;
using uikit::Font;

namespace {

constexpr double kInset = 16;
constexpr double kIconSize = 40;
constexpr double kTextX = kInset + kIconSize + 12;
constexpr double kStatusWidth = 60;

struct StatusLook {
    const char* word;
    Color color;
};

std::optional<StatusLook> statusLook(int status) {
    switch (status) {
        case TasksCell::kFailed:
            return StatusLook{"Failed", Color(0.9, 0.3, 0.15)};
        case TasksCell::kActive:
            return StatusLook{"Active", Color(0.45, 0.3, 0.15)};
        case TasksCell::kDone:
            return StatusLook{"Done", Color(0.15, 0.45, 0.15)};
        case TasksCell::kIdle:
            return StatusLook{"Idle", Color(0.45, 0.3, 0.15)};
        default:
            return std::nullopt;
    }
}

bool prefersDarkSpinner() {
    auto& preferences = CorvanePersistentPreferences::sharedInstance();
    return preferences.boolForKey("DarkMode") || preferences.boolForKey("AppleDarkMode") ||
           preferences.boolForKey("TrueDarkMode");
}

}  // namespace

void TasksCell::registerNib() {
    uikit::NibRegistry::shared().registerNib(kNibName, &build);
}

std::shared_ptr<uikit::View> TasksCell::build(const std::shared_ptr<uikit::ViewController>&) {
    auto cell = std::make_shared<TasksCell>();
    const double width = uikit::Screen::main().bounds().width();
    cell->setFrame({0, 0, width, kRowHeight});
    auto& content = *cell->contentView();
    content.setFrame(cell->bounds());
    const double textWidth = width - kTextX - kInset - kStatusWidth;
    cell->taskIconView = KSCellViews::imageView(content, {kInset, 12, kIconSize, kIconSize});
    cell->taskNameLbl =
        KSCellViews::label(content, {kTextX, 10, textWidth, 20}, Font::boldSystemFont(15));
    cell->taskDescriptionLbl = KSCellViews::label(content, {kTextX, 32, textWidth, 18},
                                                  Font::systemFont(13), Color::white(0.45));
    auto status = KSCellViews::label(content, {width - kInset - kStatusWidth, 10, kStatusWidth, 20},
                                     Font::systemFont(13, uikit::FontWeight::semibold));
    status->setTextAlignment(uikit::TextAlignment::right);
    status->setAutoresizingMask(uikit::Autoresizing::flexibleLeftMargin);
    cell->taskStatusLbl = status;
    auto indicator = std::make_shared<uikit::ActivityIndicatorView>();
    indicator->setFrame({width - kInset - 20, 34, 20, 20});
    indicator->setAutoresizingMask(uikit::Autoresizing::flexibleLeftMargin);
    content.addSubview(indicator);
    cell->indicator = indicator;
    auto bar = std::make_shared<uikit::ProgressView>(uikit::ProgressViewStyle::bar);
    bar->setFrame({kTextX, 60, width - kTextX - kInset, 2});
    bar->setAutoresizingMask(uikit::Autoresizing::flexibleWidth);
    content.addSubview(bar);
    cell->taskProgressBar = bar;
    cell->separator = KSCellViews::separator(content, kTextX);
    return cell;
}

void TasksCell::awakeFromNib() {
    uikit::TableViewCell::awakeFromNib();
    setStatus(kIdle);
    isProgressShown_ = false;
    isIndicatorShown_ = false;
    setSelectionStyle(SelectionStyle::none);
    std::weak_ptr<TasksCell> weakSelf = std::static_pointer_cast<TasksCell>(shared_from_this());
    progressObservation_ = foundation::NotificationCenter::defaultCenter().addObserver(
        KSPipelineTaskProgressNotification, [weakSelf](const foundation::Notification& note) {
            if (auto self = weakSelf.lock())
                self->pipelineManagerNotification(note);
        });
}

void TasksCell::setTask(std::shared_ptr<KSTask> task) {
    if (task == task_)
        return;
    task_ = std::move(task);
    status_ = 0;
    setStatus(kIdle);
    taskProgressBar->setProgress(task_ ? clampedProgress(task_->taskProgress()) : 0);
}

void TasksCell::setTitle(const std::optional<std::string>& title) {
    taskNameLbl->setText(title);
}

void TasksCell::setDescription(const std::optional<std::string>& description) {
    taskDescriptionLbl->setText(description);
}

void TasksCell::setStatus(int status) {
    if (status_ == kDone)
        return;
    status_ = status;
    showIndicator(status == kActive);
    const auto look = statusLook(status);
    if (!look)
        return;
    taskStatusLbl->setTextColor(look->color);
    taskStatusLbl->setText(foundation::localized(look->word));
    if (status == kDone)
        setShowProgress(false);
}

void TasksCell::showIndicator(bool show) {
    if (show == isIndicatorShown_)
        return;
    isIndicatorShown_ = show;
    if (show) {
        indicator->setColor(prefersDarkSpinner() ? Color::white() : Color::gray());
        indicator->setHidden(false);
        indicator->startAnimating();
    } else {
        indicator->setHidden(true);
        indicator->stopAnimating();
    }
}

void TasksCell::setShowProgress(bool show) {
    if (!progress || show == isProgressShown_)
        return;
    isProgressShown_ = show;
    if (show)
        contentView()->addSubview(progress);
    else
        progress->removeFromSuperview();
}

void TasksCell::setProgress(double value) {
    if (progress && isProgressShown_)
        progress->setProgress(clampedProgress(value));
}

double TasksCell::clampedProgress(double progress) {
    return std::isfinite(progress) ? std::clamp(progress, 0.0, 1.0) : 0.0;
}

void TasksCell::pipelineManagerNotification(const foundation::Notification& notification) {
    if (!task_ || notification.sender.get() != static_cast<void*>(task_.get()) ||
        notification.name != KSPipelineTaskProgressNotification)
        return;
    taskProgressBar->setProgress(clampedProgress(task_->taskProgress()), true);
}

std::string TasksCell::description() const {
    return foundation::format("<KSTaskTableViewCell: 0x%lx  title=%@ desc=%@ progress=%f>",
                              reinterpret_cast<std::uintptr_t>(this), taskNameLbl->text(),
                              taskDescriptionLbl->text(), progress ? progress->progress() : 0.0);
}

}  // namespace corvane
