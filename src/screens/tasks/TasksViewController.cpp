#include "screens/tasks/TasksViewController.h"

#include "foundation/Localization.h"
#include "foundation/NotificationCenter.h"
#include "screens/KSTableScreenNib.h"
#include "ui/cells/TasksCell.h"
#include "uikit/BarButtonItem.h"

namespace corvane {

using foundation::NotificationCenter;
using uikit::IndexPath;
using uikit::TableView;

namespace {

// What kind of work the row's task does.
std::shared_ptr<uikit::Image> iconForTask(const KSTask& task) {
    const auto pipeline = task.pipelineID();
    const char* name = pipeline == KSPipelineSourceRefresh      ? "ShortcutActionRefresh"
                       : pipeline == KSPipelinePackageDownload  ? "install"
                       : pipeline == KSPipelinePackageOperation ? "installed"
                                                                : "Sort";
    auto image = uikit::Image::named(name);
    return image ? image->withRenderingMode(uikit::ImageRenderingMode::alwaysTemplate) : nullptr;
}

}  // namespace

TasksViewController::TasksViewController() : KSPalettedViewController(kNibName) {
    KSTableScreenNib::registerNib(kNibName, &TasksViewController::tasksTableView);
    TasksCell::registerNib();
    setTitle(foundation::localized("Tasks"));
}

std::shared_ptr<TasksViewController> TasksViewController::self() {
    return std::static_pointer_cast<TasksViewController>(shared_from_this());
}

void TasksViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    tasksTableView->setDataSource(std::weak_ptr<uikit::TableViewDataSource>(self()));
    tasksTableView->setDelegate(std::weak_ptr<uikit::TableViewDelegate>(self()));
    tasksTableView->registerNib(TasksCell::kNibName, kReuseIdentifier);
    tasksTableView->setBackgroundColor(uikit::Color::clear());
    if (shownFromGesture_)
        addCloseButton();
    observePipeline();
}

void TasksViewController::addCloseButton() {
    navigationItem()->setLeftBarButtonItem(uikit::BarButtonItem::withTitle(
        foundation::localized("Close"), uikit::BarButtonItem::Style::plain,
        [weak = std::weak_ptr(self())](uikit::BarButtonItem&) {
            if (auto self = weak.lock())
                self->dismiss(true);
        }));
}

// A task is queued on whatever thread queues it; the list reads the pipeline on the main thread.
void TasksViewController::observePipeline() {
    auto& center = NotificationCenter::defaultCenter();
    std::weak_ptr<TasksViewController> weak = self();
    auto reload = [weak](const foundation::Notification&) {
        if (auto self = weak.lock())
            self->reloadTasks();
    };
    queuedObservation_ = center.addObserver(KSPipelineTaskQueuedNotification, reload,
                                            NotificationCenter::Delivery::MainQueue);
    finishedObservation_ = center.addObserver(KSPipelineTaskFinishedNotification, reload);
    statusObservation_ = center.addObserver(KSPipelineTaskStatusNotification,
                                            [weak](const foundation::Notification& notification) {
                                                if (auto self = weak.lock())
                                                    self->taskStatusChanged(notification);
                                            });
}

void TasksViewController::viewWillAppear(bool animated) {
    KSPalettedViewController::viewWillAppear(animated);
    reloadTasks();
}

void TasksViewController::paletteDidChange(const KSPalette& palette) {
    view()->setBackgroundColor(palette.backgroundColor());
    if (tasksTableView)
        tasksTableView->reloadData();
}

void TasksViewController::reloadTasks() {
    tasks_ = KSPipelineManager::sharedManager().tasksArray();
    tasksTableView->reloadData();
}

void TasksViewController::taskStatusChanged(const foundation::Notification& notification) {
    for (const auto& cell : tasksTableView->visibleCells()) {
        auto row = std::dynamic_pointer_cast<TasksCell>(cell);
        if (row && row->task() && row->task().get() == notification.sender.get())
            row->setDescription(notification.userInfo[KSPipelineUserInfoStatus].stringValue());
    }
}

int TasksViewController::numberOfRowsInSection(TableView&, int) {
    return static_cast<int>(tasks_.size());
}

std::optional<double> TasksViewController::heightForRowAtIndexPath(TableView&, const IndexPath&) {
    return TasksCell::kRowHeight;
}

std::shared_ptr<uikit::TableViewCell> TasksViewController::cellForRowAtIndexPath(
    TableView& tableView, const IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<TasksCell>(
        tableView.dequeueReusableCell(kReuseIdentifier, indexPath));
    const auto row = static_cast<std::size_t>(indexPath.row);
    if (!cell || row >= tasks_.size())
        return cell;
    const auto& task = tasks_[row];
    cell->setBackgroundColor(uikit::Color::clear());
    cell->setTask(task);
    cell->taskIconView->setImage(iconForTask(*task));
    cell->taskIconView->setContentMode(uikit::ContentMode::center);
    cell->setTitle(task->taskDescription());
    cell->setDescription(task->taskStatus());
    cell->setStatus(row < kActiveRows ? TasksCell::kActive : TasksCell::kIdle);
    if (palette()) {
        cell->taskIconView->setTintColor(palette()->tintColor());
        cell->taskNameLbl->setTextColor(palette()->primaryTextColor());
        cell->taskDescriptionLbl->setTextColor(palette()->secondaryTextColor());
    }
    cell->separator->setHidden(row + 1 == tasks_.size());
    return cell;
}

}  // namespace corvane
