// A package list as a person uses it: scrolling, tapping and swiping rows, while the list's
// data source and delegate write down what the table asks them.
#include <gtest/gtest.h>

#include <set>

#include "support/MainLoop.h"
#include "uikit/Hands.h"
#include "uikit/InterfaceHands.h"
#include "uikit/NibRegistry.h"
#include "uikit/TableView.h"
#include "uikit/Window.h"

namespace {

using namespace uikit;
using testing_support::advanceClock;
using Events = std::vector<std::string>;

class CountingCell : public TableViewCell {
  public:
    CountingCell() : TableViewCell(Style::subtitle) {}
    int reuses = 0;
    int awakenings = 0;
    void prepareForReuse() override {
        TableViewCell::prepareForReuse();
        ++reuses;
    }
    void awakeFromNib() override { ++awakenings; }
};

std::string name(const IndexPath& indexPath) {
    return std::to_string(indexPath.section) + "." + std::to_string(indexPath.row);
}

class PackageList : public TableViewDataSource, public TableViewDelegate {
  public:
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> titles;
    Events events;
    int countQueries = 0;
    std::set<IndexPath> unhighlightable;
    std::optional<IndexPath> redirect;
    bool refuseSelection = false;
    bool editable = false;
    bool offersQueueAction = false;
    bool holdsCompletion = false;
    ContextualAction::Completion heldCompletion;

    int numberOfSections(TableView&) override { return static_cast<int>(rows.size()); }
    int numberOfRowsInSection(TableView&, int section) override {
        ++countQueries;
        return static_cast<int>(rows[section].size());
    }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table,
                                                         const IndexPath& indexPath) override {
        auto cell = table.dequeueReusableCell("package", indexPath);
        cell->textLabel()->setText(rows[indexPath.section][indexPath.row]);
        cell->setAccessoryType(TableViewCell::AccessoryType::disclosureIndicator);
        return cell;
    }
    std::optional<std::string> titleForHeaderInSection(TableView&, int section) override {
        if (section >= static_cast<int>(titles.size()))
            return std::nullopt;
        return titles[section];
    }
    std::optional<double> heightForHeaderInSection(TableView&, int section) override {
        if (rows[section].empty())
            return 0.001;
        return std::nullopt;
    }
    bool shouldHighlightRowAtIndexPath(TableView&, const IndexPath& indexPath) override {
        events.push_back("shouldHighlight " + name(indexPath));
        return !unhighlightable.contains(indexPath);
    }
    std::optional<IndexPath> willSelectRowAtIndexPath(TableView&,
                                                      const IndexPath& indexPath) override {
        events.push_back("willSelect " + name(indexPath));
        if (refuseSelection)
            return std::nullopt;
        return redirect.value_or(indexPath);
    }
    void didSelectRowAtIndexPath(TableView&, const IndexPath& indexPath) override {
        events.push_back("didSelect " + name(indexPath));
    }
    void didDeselectRowAtIndexPath(TableView&, const IndexPath& indexPath) override {
        events.push_back("didDeselect " + name(indexPath));
    }
    bool canEditRowAtIndexPath(TableView&, const IndexPath&) override { return editable; }
    void commitEditingStyle(TableView& table, TableViewCell::EditingStyle,
                            const IndexPath& indexPath) override {
        events.push_back("commit " + name(indexPath));
        auto& section = rows[indexPath.section];
        section.erase(section.begin() + indexPath.row);
        table.deleteRows({indexPath});
    }
    std::shared_ptr<SwipeActionsConfiguration> trailingSwipeActionsConfigurationForRowAtIndexPath(
        TableView&, const IndexPath& indexPath) override {
        if (!offersQueueAction)
            return nullptr;
        auto queue = ContextualAction::create(
            ContextualAction::Style::normal, "Queue",
            [this, indexPath](ContextualAction&, ContextualAction::Completion done) {
                events.push_back("queue " + name(indexPath));
                if (holdsCompletion) {
                    heldCompletion = std::move(done);
                } else {
                    done(true);
                }
            });
        queue->setBackgroundColor(Color(0, 0.67, 0.88));
        return SwipeActionsConfiguration::create({queue});
    }
};

class TableViewTest : public ::testing::Test {
  protected:
    std::shared_ptr<Window> window = std::make_shared<Window>();
    std::shared_ptr<TableView> table = std::make_shared<TableView>(Rect{0, 0, 320, 440});
    std::shared_ptr<PackageList> list = std::make_shared<PackageList>();

    void SetUp() override {
        list->rows = {numbered("Package", 100)};
        table->setRowHeight(44);
        table->registerCell("package", [] { return std::make_shared<CountingCell>(); });
        table->setDataSource(list);
        table->setDelegate(list);
        auto root = std::make_shared<ViewController>();
        root->view()->addSubview(table);
        window->setRootViewController(root);
        window->makeKeyAndVisible();
    }

    static std::vector<std::string> numbered(const std::string& prefix, int count) {
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i)
            names.push_back(prefix + " " + std::to_string(i));
        return names;
    }
    std::string textAt(const IndexPath& indexPath) {
        auto cell = table->cellForRowAtIndexPath(indexPath);
        return cell ? cell->textLabel()->text().value_or("") : "(none)";
    }
};

TEST_F(TableViewTest, ReloadDataAsksTheDataSourceAtTheNextLayoutNotAtOnce) {
    EXPECT_EQ(list->countQueries, 0) << "setting the data source asks nothing yet";
    advanceClock(0);
    EXPECT_EQ(list->countQueries, 1);
    EXPECT_EQ(textAt({0, 0}), "Package 0");

    list->rows[0][0] = "Renamed";
    list->rows[0].push_back("Package 100");
    table->reloadData();
    EXPECT_EQ(list->countQueries, 1);
    EXPECT_EQ(table->contentSize().height, 100 * 44) << "the old data holds until the layout";
    advanceClock(0);
    EXPECT_EQ(list->countQueries, 2);
    EXPECT_EQ(table->contentSize().height, 101 * 44);
    EXPECT_EQ(textAt({0, 0}), "Renamed");
}

TEST_F(TableViewTest, ACellScrolledAwayIsHandedOutAgainAfterPrepareForReuse) {
    auto first = std::dynamic_pointer_cast<CountingCell>(table->cellForRowAtIndexPath({0, 0}));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->reuseIdentifier(), "package");
    EXPECT_EQ(first->reuses, 0);

    hands::scrollTo(*table, {0, 44});
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 0}), nullptr);
    EXPECT_EQ(first->reuses, 1) << "the row that came into sight took the waiting cell";
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 10}), first);
    EXPECT_EQ(first->textLabel()->text(), "Package 10");
    EXPECT_EQ(table->visibleCells().size(), 10u) << "no more cells than rows in sight";
}

TEST_F(TableViewTest, OnlyTheRowsInSightHaveCells) {
    EXPECT_EQ(table->visibleCells().size(), 10u);
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 10}), nullptr);
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 99}), nullptr);

    table->setContentOffset({0, 1000});
    auto visible = table->indexPathsForVisibleRows();
    ASSERT_EQ(visible.size(), 11u) << "rows 22 and 32 are each partly in sight";
    EXPECT_EQ(visible.front(), (IndexPath{0, 22}));
    EXPECT_EQ(visible.back(), (IndexPath{0, 32}));
    EXPECT_EQ(textAt({0, 22}), "Package 22");
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 0}), nullptr);
    auto cell = table->cellForRowAtIndexPath({0, 25});
    ASSERT_TRUE(cell);
    EXPECT_EQ(table->indexPathForCell(*cell), (IndexPath{0, 25}));
    EXPECT_EQ(cell->frame(), (Rect{0, 1100, 320, 44}));
}

TEST_F(TableViewTest, ATapSelectsTheRowAsTheDelegateAllows) {
    EXPECT_TRUE(hands::selectRow(table, {0, 3}));
    EXPECT_EQ(list->events, (Events{"shouldHighlight 0.3", "willSelect 0.3", "didSelect 0.3"}));
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 3}));
    EXPECT_TRUE(table->cellForRowAtIndexPath({0, 3})->isSelected());
    list->events.clear();

    list->redirect = IndexPath{0, 5};
    hands::selectRow(table, {0, 4});
    EXPECT_EQ(list->events, (Events{"shouldHighlight 0.4", "willSelect 0.4", "didDeselect 0.3",
                                    "didSelect 0.5"}));
    EXPECT_FALSE(table->cellForRowAtIndexPath({0, 3})->isSelected());
    list->events.clear();

    list->redirect.reset();
    list->refuseSelection = true;
    hands::selectRow(table, {0, 6});
    EXPECT_EQ(list->events, (Events{"shouldHighlight 0.6", "willSelect 0.6"}));
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 5}));
    list->events.clear();

    list->unhighlightable.insert({0, 7});
    hands::selectRow(table, {0, 7});
    EXPECT_EQ(list->events, (Events{"shouldHighlight 0.7"}));

    table->deselectRow({0, 5}, true);
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);
    EXPECT_FALSE(table->cellForRowAtIndexPath({0, 5})->isSelected());
}

TEST_F(TableViewTest, ARowOutOfSightIsScrolledToBeforeTheTap) {
    list->events.clear();
    EXPECT_TRUE(hands::selectRow(table, {0, 60}));
    EXPECT_EQ(list->events.back(), "didSelect 0.60");
    EXPECT_TRUE(table->cellForRowAtIndexPath({0, 60}));
}

TEST_F(TableViewTest, ASwipeRevealsTheRowsActionsAndTheTappedOneRuns) {
    list->offersQueueAction = true;
    EXPECT_TRUE(hands::swipeRow(table, {0, 2}).empty()) << "rows swipe only when editable";

    list->editable = true;
    auto actions = hands::swipeRow(table, {0, 2});
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0]->title(), "Queue");
    EXPECT_EQ(actions[0]->backgroundColor(), Color(0, 0.67, 0.88));
    EXPECT_NE(table->describe().find("Button \"Queue\""), std::string::npos);
    for (const auto& event : list->events)
        EXPECT_EQ(event.find("Select"), std::string::npos) << "a swipe selects nothing: " << event;
    list->events.clear();

    EXPECT_TRUE(hands::tapSwipeAction(table, "Queue"));
    EXPECT_EQ(list->events, (Events{"queue 0.2"}));
    EXPECT_EQ(table->swipedRow(), std::nullopt) << "the completion put the actions away";
    EXPECT_EQ(table->describe().find("Button \"Queue\""), std::string::npos);
}

TEST_F(TableViewTest, AnActionFinishingLateLeavesAnotherRowsActionsOpen) {
    list->editable = true;
    list->offersQueueAction = true;
    list->holdsCompletion = true;
    hands::swipeRow(table, {0, 2});
    ASSERT_TRUE(hands::tapSwipeAction(table, "Queue"));
    EXPECT_EQ(table->swipedRow(), (IndexPath{0, 2})) << "the action has not finished yet";
    hands::swipeRow(table, {0, 4});
    list->heldCompletion(true);
    EXPECT_EQ(table->swipedRow(), (IndexPath{0, 4}));
    EXPECT_TRUE(table->buttonForSwipeAction("Queue"));
}

TEST_F(TableViewTest, SwipeToDeleteCommitsAndTheRowsBelowMoveUp) {
    list->editable = true;
    auto belowCell = table->cellForRowAtIndexPath({0, 3});
    auto actions = hands::swipeRow(table, {0, 2});
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0]->title(), "Delete");
    EXPECT_EQ(actions[0]->style(), ContextualAction::Style::destructive);
    hands::tapSwipeAction(table, "Delete");
    EXPECT_EQ(list->events.back(), "commit 0.2");
    EXPECT_EQ(table->numberOfRowsInSection(0), 99);
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 2}), belowCell) << "the same cell, one row up";
    EXPECT_EQ(textAt({0, 2}), "Package 3");
    EXPECT_EQ(textAt({0, 9}), "Package 10") << "the row that came into sight was asked for";
}

TEST_F(TableViewTest, RowChangesTheDataSourceDoesNotReflectReloadEverything) {
    table->layoutIfNeeded();
    table->selectRow(IndexPath{0, 4}, false, TableView::ScrollPosition::none);
    list->rows[0].insert(list->rows[0].begin(), "New first");
    table->beginUpdates();
    table->insertRows({{0, 0}});
    table->endUpdates();
    EXPECT_EQ(textAt({0, 0}), "New first");
    EXPECT_EQ(textAt({0, 1}), "Package 0");
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 5})) << "the selection moved down";

    list->rows[0].push_back("Unannounced");
    table->deleteRows({{0, 0}});
    EXPECT_EQ(table->numberOfRowsInSection(0), 102) << "a mismatch reloads instead of failing";
    EXPECT_EQ(textAt({0, 0}), "New first");
}

TEST_F(TableViewTest, AutomaticHeightsComeFromTheCellsContent) {
    auto tall = std::make_shared<TableView>(Rect{0, 0, 320, 440});
    tall->registerCell("package", [] { return std::make_shared<CountingCell>(); });
    list->rows = {{"Short", std::string(400, 'w'), "Short"}};
    tall->setDataSource(list);
    tall->layoutIfNeeded();
    double shortHeight = tall->rectForRowAtIndexPath({0, 0}).size.height;
    double longHeight = tall->rectForRowAtIndexPath({0, 1}).size.height;
    EXPECT_GE(shortHeight, TableViewCell::kMinimumHeight);
    EXPECT_EQ(longHeight, TableViewCell::kMinimumHeight)
        << "a one-line label does not wrap, however long its text";

    auto cell = tall->cellForRowAtIndexPath({0, 1});
    cell->textLabel()->setNumberOfLines(0);
    tall->reloadRows({{0, 1}});
    EXPECT_EQ(tall->cellForRowAtIndexPath({0, 1}), cell) << "it came back from the pool";
    tall->layoutIfNeeded();
    EXPECT_GT(tall->rectForRowAtIndexPath({0, 1}).size.height, 2 * shortHeight);
    EXPECT_EQ(tall->rectForRowAtIndexPath({0, 2}).origin.y,
              tall->rectForRowAtIndexPath({0, 1}).maxY());
    EXPECT_EQ(tall->contentSize().height, tall->rectForRowAtIndexPath({0, 2}).maxY());
}

TEST_F(TableViewTest, HeadersShowTheirTitlesAndTheScreenReadsTopDown) {
    list->rows = {{"Tweak"}, {}, {"Theme", "Utility"}};
    list->titles = {"Main Packages", "Other Packages", "Packages that cannot be processed"};
    int headersShown = 0;
    struct HeaderCounter : TableViewDelegate {
        int* shown;
        void willDisplayHeaderView(TableView&, View&, int) override { ++*shown; }
    };
    auto counter = std::make_shared<HeaderCounter>();
    counter->shown = &headersShown;
    table->setDelegate(counter);
    advanceClock(0);
    EXPECT_EQ(headersShown, 3);
    EXPECT_EQ(window->describe(),
              "Window\n"
              "  View\n"
              "    TableView\n"
              "      TableViewHeaderFooterView\n"
              "        View\n"
              "          Label \"Main Packages\"\n"
              "      TableViewCell >\n"
              "        View\n"
              "          Label \"Tweak\"\n"
              "      TableViewHeaderFooterView\n"
              "        View\n"
              "          Label \"Other Packages\"\n"
              "      TableViewHeaderFooterView\n"
              "        View\n"
              "          Label \"Packages that cannot be processed\"\n"
              "      TableViewCell >\n"
              "        View\n"
              "          Label \"Theme\"\n"
              "      TableViewCell >\n"
              "        View\n"
              "          Label \"Utility\"\n");

    table->setDelegate(list);
    advanceClock(0);
    EXPECT_EQ(window->describe().find("Other Packages"), std::string::npos)
        << "a height of 0.001 shows no header";
}

TEST_F(TableViewTest, NibCellsAreAwokenOnceAndUnknownIdentifiersGiveNothing) {
    NibRegistry::shared().registerNib("PackageCell",
                                      [](const auto&) { return std::make_shared<CountingCell>(); });
    table->registerNib("PackageCell", "cell");
    auto cell = std::dynamic_pointer_cast<CountingCell>(table->dequeueReusableCell("cell"));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->awakenings, 1);
    EXPECT_EQ(cell->reuseIdentifier(), "cell");
    EXPECT_EQ(table->dequeueReusableCell("nothing"), nullptr);
    EXPECT_EQ(table->dequeueReusableCell("nothing", {0, 0}), nullptr);
}

TEST_F(TableViewTest, AHugeListTilesOnlyWhatIsInSight) {
    list->rows = {numbered("Package", 50000)};
    table->reloadData();
    table->setContentOffset({0, 44 * 40000});
    EXPECT_EQ(table->visibleCells().size(), 10u);
    EXPECT_EQ(textAt({0, 40000}), "Package 40000");
    EXPECT_EQ(table->contentSize().height, 44.0 * 50000);
}

}  // namespace
