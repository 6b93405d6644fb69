#include "uikit/TableViewSwipeActions.h"

#include "uikit/Button.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"

namespace uikit {

TableViewSwipeActions::TableViewSwipeActions(TableView& table,
                                             const std::weak_ptr<TableViewDataSource>& dataSource,
                                             const std::weak_ptr<TableViewDelegate>& delegate)
    : table_(table), dataSource_(dataSource), delegate_(delegate) {}

bool TableViewSwipeActions::reveal(View& host, const TableViewGeometry& geometry,
                                   const IndexPath& row) {
    close();
    if (!geometry.contains(row))
        return false;
    auto configuration = configurationFor(row);
    if (!configuration || configuration->actions().empty())
        return false;
    host_ = host.weak_from_this();
    row_ = row;
    configuration_ = std::move(configuration);
    showButtons(host, geometry.rectForRow(row, host.bounds().width()));
    return true;
}

std::shared_ptr<SwipeActionsConfiguration> TableViewSwipeActions::configurationFor(
    const IndexPath& row) {
    auto dataSource = dataSource_.lock();
    if (!dataSource || !dataSource->canEditRowAtIndexPath(table_, row))
        return nullptr;
    auto delegate = delegate_.lock();
    if (delegate) {
        if (auto configuration =
                delegate->trailingSwipeActionsConfigurationForRowAtIndexPath(table_, row))
            return configuration;
    }
    auto style = delegate ? delegate->editingStyleForRowAtIndexPath(table_, row)
                          : TableViewCell::EditingStyle::remove;
    if (style != TableViewCell::EditingStyle::remove)
        return nullptr;
    return SwipeActionsConfiguration::create({deleteAction(row)});
}

// The table owns these swipe actions: while they live, so does the table they name.
std::shared_ptr<ContextualAction> TableViewSwipeActions::deleteAction(const IndexPath& row) {
    std::weak_ptr<TableViewSwipeActions> weakSelf = weak_from_this();
    return ContextualAction::create(
        ContextualAction::Style::destructive, "Delete",
        [weakSelf, row](ContextualAction&, ContextualAction::Completion done) {
            auto self = weakSelf.lock();
            auto source = self ? self->dataSource_.lock() : nullptr;
            if (source)
                source->commitEditingStyle(self->table_, TableViewCell::EditingStyle::remove, row);
            done(source != nullptr);
        });
}

void TableViewSwipeActions::showButtons(View& host, const Rect& rowRect) {
    const auto& actions = configuration_->actions();
    double total = kButtonWidth * static_cast<double>(actions.size());
    view_ = std::make_shared<View>(
        Rect{rowRect.maxX() - total, rowRect.minY(), total, rowRect.height()});
    std::weak_ptr<TableViewSwipeActions> weakSelf = weak_from_this();
    for (std::size_t index = 0; index < actions.size(); ++index) {
        auto button = std::make_shared<Button>();
        button->setTitle(actions[index]->title());
        button->setTitleColor(Color::white());
        button->setBackgroundColor(actions[index]->backgroundColor());
        button->setFrame({total - kButtonWidth * static_cast<double>(index + 1), 0, kButtonWidth,
                          rowRect.height()});
        button->addAction(
            [weakSelf, index](Control&) {
                if (auto self = weakSelf.lock())
                    self->perform(index);
            },
            ControlEvent::touchUpInside);
        view_->addSubview(button);
    }
    host.addSubview(view_);
}

void TableViewSwipeActions::close() {
    if (view_)
        view_->removeFromSuperview();
    view_.reset();
    configuration_.reset();
    row_.reset();
}

std::vector<std::shared_ptr<ContextualAction>> TableViewSwipeActions::actions() const {
    return configuration_ ? configuration_->actions()
                          : std::vector<std::shared_ptr<ContextualAction>>{};
}

std::shared_ptr<View> TableViewSwipeActions::buttonForAction(const std::string& title) const {
    if (!view_)
        return nullptr;
    for (const auto& subview : view_->subviews()) {
        auto button = std::dynamic_pointer_cast<Button>(subview);
        if (button && button->currentTitle() == title)
            return button;
    }
    return nullptr;
}

// The host stays alive while the action runs: its handler may let go of the host's screen.
void TableViewSwipeActions::perform(std::size_t index) {
    if (!configuration_ || index >= configuration_->actions().size())
        return;
    auto keepHost = host_.lock();
    auto keepAlive = shared_from_this();
    auto action = configuration_->actions()[index];
    auto row = row_;
    std::weak_ptr<TableViewSwipeActions> weakSelf = weak_from_this();
    action->perform([weakSelf, row](bool) {
        auto self = weakSelf.lock();
        if (self && self->row_ == row)
            self->close();
    });
}

}  // namespace uikit
