#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "foundation/Value.h"
#include "ui/core/KSPalettedViewController.h"
#include "ui/settings/KSPickerCellDelegate.h"
#include "ui/settings/KSUIPickerCell.h"
#include "ui/table/KSTableMethods.h"
#include "ui/table/KSTableRow.h"
#include "uikit/Switch.h"
#include "uikit/TableView.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"

namespace corvane {

// A table screen described by a dictionary: {"title", "sections": [{"rows": [row, ...]}, ...]}.
// Rows are captions ("header"), notes ("footer"), plain or detail rows, buttons, switches bound
// to preference keys, and inline pickers; KSTableRow and the row keys below say which.
//
// Row keys: "title", "titleLines", "subtitle", "icon", "cellStyle" (default, value1, value2,
// subtitle), "cellType", "control" ("button" or "switch"), "prefsKey", "action", "detail",
// "titles", "values", "initialValue", "titleColor", "subtitleColor" ("#RRGGBB"),
// "requiresAuthentication", "disablesKeys", "enableKeys", "additionalKeys",
// "invertedAdditionalKeys", "requiresReloadSection", "callback", and "literal" for rows whose
// texts come from outside data and are shown as written.
//
// Texts ("title", "subtitle", "header", "footer", "initialValue") are the name of a text
// provider of the screen or else a key of the string table. Names in "action", "detail" and
// "callback" run the screen's registered actions; a switch without "prefsKey" runs the
// registered switch action of its "action". Subclasses register what their rows name in
// methods().
class RootViewController : public KSPalettedViewController,
                           public uikit::TableViewDataSource,
                           public uikit::TableViewDelegate,
                           public KSPickerCellDelegate {
  public:
    using Style = uikit::TableViewCell::Style;
    // Where a switch change stands with device-owner authentication.
    enum class Authentication { authenticated = 0, refused = 1, notAsked = 2 };

    static constexpr const char* kPickerReuseIdentifier = "picker";
    static constexpr double kSectionFooterHeight = 24;

    static std::shared_ptr<RootViewController> rootViewControllerWithPlist(std::string_view name);
    static std::shared_ptr<RootViewController> rootViewControllerWithData(
        foundation::Value data, Style cellStyle = Style::subtitle);
    // The description in the bundle's property list of the name; an empty one (logged) when
    // the list is missing or malformed.
    static foundation::Value dataFromPlist(std::string_view name);

    explicit RootViewController(foundation::Value data = {}, Style cellStyle = Style::subtitle);

    KSTableMethods& methods() { return methods_; }
    const foundation::Value& data() const { return data_; }
    // A description equal to the shown one changes nothing; another one retitles the screen and
    // reloads the table. The disabled rows stay disabled.
    void setData(foundation::Value data);
    const foundation::Array& dataSource() const { return data_["sections"].array(); }
    // Nil for a row that is not there.
    const foundation::Value& dataForIndexPath(const uikit::IndexPath& indexPath) const;
    std::optional<uikit::IndexPath> indexPathForPrefsKey(const std::string& prefsKey) const;
    Style cellStyle() const { return cellStyle_; }
    Style cellStyleForString(const std::string& text) const;
    std::string stringForDataValue(const foundation::Value& value) const;

    const std::shared_ptr<uikit::TableView>& tableView() const { return tableView_; }
    const std::set<uikit::IndexPath>& disabledIndexPaths() const { return disabledIndexPaths_; }
    // A disabled row greys its labels and cannot be tapped.
    void setCellForRowAtIndexPath(const uikit::IndexPath& indexPath, bool enabled, bool animated);
    const std::optional<uikit::IndexPath>& lastSelectedIndexPath() const {
        return lastSelectedIndexPath_;
    }

    // The switch of the row bound to the key was turned to on. Works from the key, so that an
    // answer arriving after a reload finds the row and not a switch it has replaced. Main
    // thread (hops there).
    void controlDidChangeValue(const std::string& prefsKey, bool on,
                               Authentication mode = Authentication::notAsked);
    void authenticateBeforeApplyingChangesToControl(const std::string& prefsKey, bool on);

    int numberOfSections(uikit::TableView& tableView) override;
    int numberOfRowsInSection(uikit::TableView& tableView, int section) override;
    std::shared_ptr<uikit::TableViewCell> cellForRowAtIndexPath(
        uikit::TableView& tableView, const uikit::IndexPath& indexPath) override;
    std::optional<double> heightForRowAtIndexPath(uikit::TableView& tableView,
                                                  const uikit::IndexPath& indexPath) override;
    std::optional<double> heightForHeaderInSection(uikit::TableView& tableView,
                                                   int section) override;
    std::optional<double> heightForFooterInSection(uikit::TableView& tableView,
                                                   int section) override;
    std::shared_ptr<uikit::View> viewForFooterInSection(uikit::TableView& tableView,
                                                        int section) override;
    std::optional<uikit::IndexPath> willSelectRowAtIndexPath(
        uikit::TableView& tableView, const uikit::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(uikit::TableView& tableView,
                                 const uikit::IndexPath& indexPath) override;
    void didEndDisplayingCell(uikit::TableView& tableView, uikit::TableViewCell& cell,
                              const uikit::IndexPath& indexPath) override;

  protected:
    void loadView() override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    std::shared_ptr<RootViewController> self();
    KSPalette currentPalette() const;
    std::string textOfRow(const KSTableRow& row, const std::string& key) const;

    // Cells.
    void resetCell(uikit::TableViewCell& cell, const KSTableRow& row, bool enabled);
    void configureCaption(uikit::TableViewCell& cell, const KSTableRow& row);
    void configureRow(uikit::TableViewCell& cell, const KSTableRow& row);
    void configureSwitch(uikit::TableViewCell& cell, const KSTableRow& row);
    void configurePicker(KSUIPickerCell& cell, const KSTableRow& row);

    // Switch changes.
    void applySwitchChange(const KSTableRow& row, bool on);
    void writePreference(const std::string& key, bool on);
    void reloadRowWithoutAnimation(const uikit::IndexPath& indexPath);
    void reloadVisibleRows();

    foundation::Value data_;
    Style cellStyle_ = Style::subtitle;
    KSTableMethods methods_;
    std::shared_ptr<uikit::TableView> tableView_;
    std::set<uikit::IndexPath> disabledIndexPaths_;
    std::optional<uikit::IndexPath> lastSelectedIndexPath_;
    // The picker cells on screen, for their heights.
    std::map<uikit::IndexPath, std::weak_ptr<KSUIPickerCell>> pickerCells_;
};

}  // namespace corvane
