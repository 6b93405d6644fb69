// The plist-driven table as a person uses it: the settings list with its captions, switches and
// picker, disabled rows, device-owner authentication, and what names in a description may reach.
#include "ui/table/RootViewController.h"

#include <gtest/gtest.h>

#include "framework/preferences/CorvanePersistentPreferences.h"
#include "localauthentication/Context.h"
#include "support/MainLoop.h"
#include "support/TempDeviceRoot.h"
#include "ui/palette/KSPaletteManager.h"
#include "uikit/AlertController.h"
#include "uikit/Hands.h"
#include "uikit/InterfaceHands.h"
#include "uikit/NavigationController.h"
#include "uikit/Window.h"

namespace corvane {
namespace {

using foundation::Value;
using testing_support::advanceClock;
using testing_support::pumpUntil;
using uikit::IndexPath;

// The settings screen as the application builds it: the bundle's "Settings" list with the
// methods its rows name.
class SettingsScreen : public RootViewController {
  public:
    SettingsScreen() : RootViewController(dataFromPlist("Settings")) {
        methods().registerTextProvider("currentLanguage", [this] { return language; });
        methods().registerAction("updatePalette",
                                 [] { KSPaletteManager::updatePaletteFromSettings(); });
        methods().registerAction("resetSettings", [this] { ++resets; });
    }

    void pickerCellDidPickRow(KSUIPickerCell&, int, const Value& value) override {
        picked.push_back(value.stringValue());
    }
    void pickerCellDidFinalizeSelectionWithRow(KSUIPickerCell&, int, const Value& value) override {
        finalized.push_back(value.stringValue());
        language = value.stringValue();
    }

    std::string language = "fr";
    int resets = 0;
    std::vector<std::string> picked;
    std::vector<std::string> finalized;
};

class RootViewControllerTest : public ::testing::Test {
  protected:
    static CorvanePersistentPreferences& preferences() {
        return CorvanePersistentPreferences::sharedInstance();
    }

    void show(const std::shared_ptr<RootViewController>& screen) {
        window->setRootViewController(uikit::NavigationController::create(screen));
        window->makeKeyAndVisible();
        advanceClock(0);
        screen->tableView()->layoutIfNeeded();
    }
    static std::shared_ptr<uikit::TableViewCell> cellInSight(RootViewController& screen,
                                                             const IndexPath& indexPath) {
        screen.tableView()->scrollToRowAtIndexPath(indexPath,
                                                   uikit::TableView::ScrollPosition::middle, false);
        return screen.tableView()->cellForRowAtIndexPath(indexPath);
    }
    static std::shared_ptr<uikit::Switch> switchFor(RootViewController& screen,
                                                    const std::string& key) {
        auto indexPath = screen.indexPathForPrefsKey(key);
        auto cell = indexPath ? cellInSight(screen, *indexPath) : nullptr;
        return cell ? std::dynamic_pointer_cast<uikit::Switch>(cell->accessoryView()) : nullptr;
    }
    static IndexPath pathOfTitle(const RootViewController& screen, const std::string& title) {
        const auto& sections = screen.dataSource();
        for (std::size_t section = 0; section < sections.size(); ++section) {
            const auto& rows = sections[section]["rows"].array();
            for (std::size_t row = 0; row < rows.size(); ++row)
                if (rows[row]["title"].stringValue() == title)
                    return {static_cast<int>(section), static_cast<int>(row)};
        }
        ADD_FAILURE() << "no row titled " << title;
        return {};
    }
    static double rowHeight(RootViewController& screen, const IndexPath& indexPath) {
        return screen.tableView()->rectForRowAtIndexPath(indexPath).height();
    }
    std::shared_ptr<uikit::AlertController> shownAlert() const {
        return std::dynamic_pointer_cast<uikit::AlertController>(
            window->topmostPresentedViewController());
    }

    testing_support::TempDeviceRoot root;
    std::shared_ptr<uikit::Window> window = std::make_shared<uikit::Window>();
};

TEST_F(RootViewControllerTest, SettingsListShowsCaptionsNotesAndSwitchesBoundToPreferences) {
    preferences().setValue(true, "PlaySounds");
    auto screen = std::make_shared<SettingsScreen>();
    show(screen);

    EXPECT_EQ(screen->title(), "Settings");
    ASSERT_EQ(screen->tableView()->numberOfSections(), 5);
    auto caption = cellInSight(*screen, {0, 0});
    EXPECT_EQ(caption->detailTextLabel()->text(), "Appearance");
    EXPECT_EQ(caption->detailTextLabel()->numberOfLines(), 1);
    EXPECT_EQ(caption->backgroundColor(), uikit::Color::clear());
    EXPECT_FALSE(caption->accessoryView());
    auto note = cellInSight(*screen, {0, 8});
    EXPECT_EQ(note->detailTextLabel()->text(),
              "Only one dark mode is on at a time: turning one on turns the others off.");
    EXPECT_EQ(note->detailTextLabel()->numberOfLines(), 0);

    auto sounds = switchFor(*screen, "PlaySounds");
    auto versions = switchFor(*screen, "HidePackageVersion");
    ASSERT_TRUE(sounds && versions);
    EXPECT_TRUE(sounds->isOn());
    EXPECT_FALSE(versions->isOn());
    ASSERT_TRUE(uikit::hands::tap(versions));
    EXPECT_TRUE(preferences().boolForKey("HidePackageVersion"));
    ASSERT_TRUE(uikit::hands::tap(switchFor(*screen, "PlaySounds")));
    EXPECT_FALSE(preferences().boolForKey("PlaySounds"));

    auto account = cellInSight(*screen, pathOfTitle(*screen, "Account"));
    EXPECT_EQ(account->accessoryType(), uikit::TableViewCell::AccessoryType::disclosureIndicator);
    EXPECT_EQ(screen->tableView()->style(), uikit::TableView::Style::plain);
}

TEST_F(RootViewControllerTest, ADarkModeRowTurnsTheOthersOffOnScreenAndRecolours) {
    preferences().setValue(true, "DarkMode");
    KSPaletteManager::updatePaletteFromSettings();
    auto screen = std::make_shared<SettingsScreen>();
    show(screen);
    ASSERT_TRUE(switchFor(*screen, "DarkMode")->isOn());

    ASSERT_TRUE(uikit::hands::tap(switchFor(*screen, "TrueDarkMode")));
    EXPECT_TRUE(preferences().boolForKey("TrueDarkMode"));
    EXPECT_FALSE(preferences().boolForKey("DarkMode"));
    EXPECT_FALSE(switchFor(*screen, "DarkMode")->isOn());
    EXPECT_EQ(KSPaletteManager::getActiveStyle(), KSPalette::kOLED);
    EXPECT_EQ(screen->tableView()->backgroundColor(),
              KSPalette::initWithOLEDConfiguration().backgroundColor());
}

TEST_F(RootViewControllerTest, DisabledRowsRefuseTapsUntilEnabledAgain) {
    auto screen = std::make_shared<SettingsScreen>();
    show(screen);
    const IndexPath reset = pathOfTitle(*screen, "Reset Settings");

    screen->setCellForRowAtIndexPath(reset, false, true);
    auto cell = cellInSight(*screen, reset);
    EXPECT_FALSE(cell->textLabel()->isEnabled()) << "a disabled row is greyed";
    uikit::hands::selectRow(screen->tableView(), reset);
    EXPECT_EQ(screen->resets, 0);
    EXPECT_EQ(screen->lastSelectedIndexPath(), std::nullopt);

    screen->setCellForRowAtIndexPath(reset, true, false);
    cell = cellInSight(*screen, reset);
    EXPECT_TRUE(cell->textLabel()->isEnabled());
    ASSERT_TRUE(uikit::hands::selectRow(screen->tableView(), reset));
    EXPECT_EQ(screen->resets, 1);
    EXPECT_EQ(screen->lastSelectedIndexPath(), reset);
}

TEST_F(RootViewControllerTest, LanguagePickerOpensTo260PointsAndReportsTheChoiceOnClosing) {
    auto screen = std::make_shared<SettingsScreen>();
    show(screen);
    const IndexPath language = pathOfTitle(*screen, "Language");
    auto cell = std::dynamic_pointer_cast<KSUIPickerCell>(cellInSight(*screen, language));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->detailTextLabel()->text(), "Français") << "the provider's language is chosen";
    EXPECT_EQ(rowHeight(*screen, language), 44);

    ASSERT_TRUE(uikit::hands::selectRow(screen->tableView(), language));
    EXPECT_EQ(rowHeight(*screen, language), 260);
    EXPECT_EQ(screen->tableView()->cellForRowAtIndexPath(language), cell);
    EXPECT_TRUE(cell->isExpanded());
    EXPECT_FALSE(cell->picker()->isHidden());
    EXPECT_TRUE(cell->textLabel()->isHidden());
    EXPECT_EQ(cell->doneLabel()->text(), "Select");
    EXPECT_EQ(cell->picker()->titleForRow(1, 0), "Deutsch");

    cell->picker()->spinToRow(1, 0);
    cell->picker()->spinToRow(0, 0);
    EXPECT_EQ(screen->picked, (std::vector<std::string>{"de", "en"}));
    EXPECT_TRUE(screen->finalized.empty()) << "nothing is final while the wheel is open";

    ASSERT_TRUE(uikit::hands::selectRow(screen->tableView(), language));
    EXPECT_EQ(rowHeight(*screen, language), 44);
    EXPECT_EQ(screen->finalized, std::vector<std::string>{"en"});
    cell = std::dynamic_pointer_cast<KSUIPickerCell>(
        screen->tableView()->cellForRowAtIndexPath(language));
    EXPECT_EQ(cell->detailTextLabel()->text(), "English");

    // Open again, then scroll it away: it closes and reports once.
    ASSERT_TRUE(uikit::hands::selectRow(screen->tableView(), language));
    screen->tableView()->scrollToRowAtIndexPath({0, 0}, uikit::TableView::ScrollPosition::top,
                                                false);
    screen->tableView()->layoutIfNeeded();
    EXPECT_EQ(screen->finalized, (std::vector<std::string>{"en", "en"}));
    EXPECT_FALSE(cell->isExpanded());
}

TEST_F(RootViewControllerTest, AuthenticatedSwitchFollowsTheOwnersAnswerEvenAfterAReload) {
    const std::string key = "AuthenticationForPackagesManagementTasks";
    auto screen = std::make_shared<SettingsScreen>();
    show(screen);

    localauthentication::Context::setEvaluationFailure(localauthentication::UserCancel);
    ASSERT_TRUE(uikit::hands::tap(switchFor(*screen, key)));
    EXPECT_FALSE(preferences().boolForKey(key));
    ASSERT_TRUE(pumpUntil([&] { return !switchFor(*screen, key)->isOn(); }));
    EXPECT_FALSE(preferences().boolForKey(key));

    // The answer comes after the table replaced the switch that asked.
    localauthentication::Context::setEvaluationFailure(std::nullopt);
    auto asking = switchFor(*screen, key);
    ASSERT_TRUE(uikit::hands::tap(asking));
    screen->tableView()->reloadData();
    screen->tableView()->layoutIfNeeded();
    ASSERT_TRUE(pumpUntil([&] { return preferences().boolForKey(key); }));
    EXPECT_TRUE(switchFor(*screen, key)->isOn());

    localauthentication::Context::setUnavailableReason(localauthentication::PasscodeNotSet);
    ASSERT_TRUE(uikit::hands::tap(switchFor(*screen, key)));
    ASSERT_TRUE(pumpUntil([&] { return shownAlert() != nullptr; }));
    EXPECT_EQ(shownAlert()->title(), "Corvane Authentication");
    EXPECT_TRUE(shownAlert()->buttonForAction("Close"));
    EXPECT_TRUE(preferences().boolForKey(key));
    EXPECT_TRUE(switchFor(*screen, key)->isOn()) << "the switch shows the stored value again";
}

// A screen that counts the cells it makes.
class CountingScreen : public RootViewController {
  public:
    using RootViewController::RootViewController;
    std::shared_ptr<uikit::TableViewCell> cellForRowAtIndexPath(
        uikit::TableView& tableView, const IndexPath& indexPath) override {
        ++cellsMade;
        return RootViewController::cellForRowAtIndexPath(tableView, indexPath);
    }
    void pickerCellDidFinalizeSelectionWithRow(KSUIPickerCell&, int, const Value&) override {
        ++finalized;
    }
    int cellsMade = 0;
    int finalized = 0;
};

Value row(Value::Dictionary entries) {
    return Value(std::move(entries));
}

Value description() {
    Value::Array rows{
        row({{"title", "secretText"}}),
        row({{"title", "greeting"}}),
        row({{"title", "greeting"}, {"literal", true}}),
        row({{"title", "Tap"}, {"action", "unknownAction"}}),
        row({{"title", "Toggle"}, {"control", "switch"}, {"action", "toggled"}}),
        row({{"cellType", "picker"},
             {"cellStyle", "value1"},
             {"title", "Size"},
             {"titles", Value::Array{"S", "M", "L"}},
             {"values", Value::Array{"s", "m"}},
             {"initialValue", "xl"}}),
    };
    return Value(
        Value::Dictionary{{"title", "Imported"},
                          {"sections", Value::Array{Value(Value::Dictionary{{"rows", rows}})}}});
}

TEST_F(RootViewControllerTest, NamesInADescriptionReachOnlyWhatTheScreenRegistered) {
    auto screen = std::make_shared<CountingScreen>(description());
    screen->methods().registerTextProvider("greeting", [] { return std::string("Hello"); });
    std::vector<bool> toggles;
    screen->methods().registerSwitchAction(
        "toggled", [&](uikit::Switch& sender) { toggles.push_back(sender.isOn()); });
    show(screen);

    EXPECT_EQ(cellInSight(*screen, {0, 0})->textLabel()->text(), "secretText");
    EXPECT_EQ(cellInSight(*screen, {0, 1})->textLabel()->text(), "Hello");
    EXPECT_EQ(cellInSight(*screen, {0, 2})->textLabel()->text(), "greeting")
        << "outside data is shown as written";

    ASSERT_TRUE(uikit::hands::selectRow(screen->tableView(), {0, 3}));
    EXPECT_EQ(screen->lastSelectedIndexPath(), (IndexPath{0, 3}));

    ASSERT_TRUE(uikit::hands::selectRow(screen->tableView(), {0, 4}));
    EXPECT_TRUE(toggles.empty()) << "a tap on the row has no switch to hand over";
    auto toggle =
        std::dynamic_pointer_cast<uikit::Switch>(cellInSight(*screen, {0, 4})->accessoryView());
    ASSERT_TRUE(uikit::hands::tap(toggle));
    EXPECT_EQ(toggles, std::vector<bool>{true});

    auto picker = std::dynamic_pointer_cast<KSUIPickerCell>(cellInSight(*screen, {0, 5}));
    ASSERT_TRUE(picker) << "a picker row with a cell style is still a picker";
    EXPECT_EQ(picker->picker()->numberOfRows(0), 2) << "a title without a value is not offered";
    EXPECT_EQ(picker->currentTitle(), std::nullopt);
    EXPECT_EQ(picker->detailTextLabel()->text(), "");
    ASSERT_TRUE(uikit::hands::selectRow(screen->tableView(), {0, 5}));
    ASSERT_TRUE(uikit::hands::selectRow(screen->tableView(), {0, 5}));
    EXPECT_EQ(screen->finalized, 0) << "nothing chosen, nothing reported";

    const int made = screen->cellsMade;
    screen->setData(description());
    screen->tableView()->layoutIfNeeded();
    EXPECT_EQ(screen->cellsMade, made) << "the same description does not reload";
    Value other = description();
    other.mutableDictionary()["title"] = "Other";
    screen->setData(other);
    screen->tableView()->layoutIfNeeded();
    EXPECT_GT(screen->cellsMade, made);
    EXPECT_EQ(screen->title(), "Other");
}

// A switch row that sets its linked keys, reloads what is on screen and reports back, over
// the rows bound to those keys, and a row in colours of its own.
Value linkedSwitches() {
    auto bound = [](const char* key) {
        return row({{"title", key}, {"control", "switch"}, {"prefsKey", key}});
    };
    Value::Array rows{
        row({{"title", "Main"},
             {"control", "switch"},
             {"prefsKey", "Main"},
             {"enableKeys", Value::Array{"Enabled"}},
             {"additionalKeys", Value::Array{"Along"}},
             {"invertedAdditionalKeys", Value::Array{"Against"}},
             {"requiresReloadSection", true},
             {"callback", "mainChanged"}}),
        bound("Enabled"),
        bound("Along"),
        bound("Against"),
        row({{"title", "mainState"}}),
        row({{"title", "Coloured"},
             {"subtitle", "Note"},
             {"titleColor", "#FF0000"},
             {"subtitleColor", "#00FF00"}}),
    };
    return Value(Value::Dictionary{
        {"title", "Linked"}, {"sections", Value::Array{Value(Value::Dictionary{{"rows", rows}})}}});
}

TEST_F(RootViewControllerTest, ASwitchSetsItsLinkedKeysReloadsTheRowsAndCallsBack) {
    auto screen = RootViewController::rootViewControllerWithData(linkedSwitches());
    int callbacks = 0;
    screen->methods().registerAction("mainChanged", [&] { ++callbacks; });
    screen->methods().registerTextProvider("mainState", [] {
        return std::string(preferences().boolForKey("Main") ? "Main is on" : "Main is off");
    });
    show(screen);
    auto state = [&] { return cellInSight(*screen, {0, 4})->textLabel()->text(); };
    auto shows = [&](const char* key) { return switchFor(*screen, key)->isOn(); };
    EXPECT_EQ(state(), "Main is off");

    ASSERT_TRUE(uikit::hands::tap(switchFor(*screen, "Main")));
    EXPECT_TRUE(preferences().boolForKey("Main"));
    EXPECT_TRUE(preferences().boolForKey("Enabled"));
    EXPECT_TRUE(preferences().boolForKey("Along"));
    EXPECT_FALSE(preferences().boolForKey("Against"));
    EXPECT_TRUE(shows("Enabled") && shows("Along"));
    EXPECT_FALSE(shows("Against"));
    EXPECT_EQ(state(), "Main is on") << "the rows on screen were reloaded";
    EXPECT_EQ(callbacks, 1);

    ASSERT_TRUE(uikit::hands::tap(switchFor(*screen, "Main")));
    EXPECT_TRUE(preferences().boolForKey("Enabled")) << "an enabled key stays on";
    EXPECT_FALSE(preferences().boolForKey("Along"));
    EXPECT_TRUE(preferences().boolForKey("Against"));
    EXPECT_TRUE(shows("Enabled") && shows("Against"));
    EXPECT_FALSE(shows("Along"));
    EXPECT_EQ(state(), "Main is off");
    EXPECT_EQ(callbacks, 2);

    auto coloured = cellInSight(*screen, {0, 5});
    EXPECT_EQ(coloured->textLabel()->textColor(), uikit::Color(1, 0, 0, 1));
    ASSERT_TRUE(coloured->detailTextLabel());
    EXPECT_EQ(coloured->detailTextLabel()->textColor(), uikit::Color(0, 1, 0, 1));
}

}  // namespace
}  // namespace corvane
