#include "ui/table/RootViewController.h"

#include "foundation/Bundle.h"
#include "foundation/Dispatch.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "ui/extensions/ColorExtensions.h"
#include "ui/palette/KSPaletteManager.h"
#include "ui/settings/KSDeviceOwnerAuthentication.h"
#include "ui/settings/KSTopmostAlert.h"
#include "uikit/Image.h"

namespace corvane {

using uikit::IndexPath;
using uikit::TableView;
using uikit::TableViewCell;

namespace {

// Hides a caption's separator: the inset pushes it past any row's width.
constexpr double kCaptionSeparatorInset = 10000;

CorvanePersistentPreferences& preferences() {
    return CorvanePersistentPreferences::sharedInstance();
}

}  // namespace

std::shared_ptr<RootViewController> RootViewController::rootViewControllerWithPlist(
    std::string_view name) {
    return std::make_shared<RootViewController>(dataFromPlist(name));
}

std::shared_ptr<RootViewController> RootViewController::rootViewControllerWithData(
    foundation::Value data, Style cellStyle) {
    return std::make_shared<RootViewController>(std::move(data), cellStyle);
}

foundation::Value RootViewController::dataFromPlist(std::string_view name) {
    auto list = foundation::Bundle::plistResource(name);
    if (!list) {
        KSLog("Could not read the property list %@: %@", std::string(name),
              list.error().localizedDescription());
        return {};
    }
    return *list;
}

RootViewController::RootViewController(foundation::Value data, Style cellStyle)
    : data_(std::move(data)), cellStyle_(cellStyle) {
    setTitle(foundation::localized(data_["title"].stringValue()));
}

std::shared_ptr<RootViewController> RootViewController::self() {
    return std::static_pointer_cast<RootViewController>(shared_from_this());
}

void RootViewController::setData(foundation::Value data) {
    if (data == data_)
        return;
    data_ = std::move(data);
    setTitle(foundation::localized(data_["title"].stringValue()));
    if (tableView_)
        tableView_->reloadData();
}

const foundation::Value& RootViewController::dataForIndexPath(const IndexPath& indexPath) const {
    return data_["sections"][static_cast<std::size_t>(indexPath.section)]["rows"]
                [static_cast<std::size_t>(indexPath.row)];
}

std::optional<IndexPath> RootViewController::indexPathForPrefsKey(
    const std::string& prefsKey) const {
    const auto& sections = dataSource();
    for (std::size_t section = 0; section < sections.size(); ++section) {
        const auto& rows = sections[section]["rows"].array();
        for (std::size_t row = 0; row < rows.size(); ++row) {
            const auto* key = rows[row]["prefsKey"].string();
            if (key && *key == prefsKey)
                return IndexPath{static_cast<int>(section), static_cast<int>(row)};
        }
    }
    return std::nullopt;
}

RootViewController::Style RootViewController::cellStyleForString(const std::string& text) const {
    if (text == "value1")
        return Style::value1;
    if (text == "value2")
        return Style::value2;
    if (text == "subtitle")
        return Style::subtitle;
    if (text == "default")
        return Style::defaultStyle;
    return cellStyle_;
}

std::string RootViewController::stringForDataValue(const foundation::Value& value) const {
    std::string text = value.stringValue();
    if (const auto* name = value.string())
        if (auto provided = methods_.text(*name))
            text = std::move(*provided);
    return foundation::localized(text);
}

std::string RootViewController::textOfRow(const KSTableRow& row, const std::string& key) const {
    if (row.isLiteral())
        return row.value(key).stringValue();
    return stringForDataValue(row.value(key));
}

KSPalette RootViewController::currentPalette() const {
    return palette().value_or(KSPaletteManager::getActivePalette());
}

void RootViewController::setCellForRowAtIndexPath(const IndexPath& indexPath, bool enabled,
                                                  bool animated) {
    if (enabled)
        disabledIndexPaths_.erase(indexPath);
    else
        disabledIndexPaths_.insert(indexPath);
    if (!tableView_)
        return;
    if (animated)
        tableView_->beginUpdates();
    tableView_->reloadRows({indexPath}, TableView::RowAnimation::none);
    if (animated)
        tableView_->endUpdates();
}

// View.

void RootViewController::loadView() {
    KSPalettedViewController::loadView();
    tableView_ = std::make_shared<TableView>(viewIfLoaded()->bounds(), TableView::Style::plain);
    tableView_->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                                    uikit::Autoresizing::flexibleHeight);
    tableView_->setSeparatorStyle(TableView::SeparatorStyle::none);
    auto self = this->self();
    tableView_->setDataSource(std::weak_ptr<uikit::TableViewDataSource>(self));
    tableView_->setDelegate(std::weak_ptr<uikit::TableViewDelegate>(self));
    tableView_->registerCell(kPickerReuseIdentifier, [] {
        return KSUIPickerCell::initWithStyle(Style::value1, kPickerReuseIdentifier);
    });
    setView(tableView_);
}

void RootViewController::paletteDidChange(const KSPalette& palette) {
    if (!tableView_)
        return;
    tableView_->setBackgroundColor(palette.backgroundColor());
    tableView_->reloadData();
}

// Data source.

int RootViewController::numberOfSections(TableView&) {
    return static_cast<int>(dataSource().size());
}

int RootViewController::numberOfRowsInSection(TableView&, int section) {
    return static_cast<int>(data_["sections"][static_cast<std::size_t>(section)]["rows"].count());
}

std::shared_ptr<TableViewCell> RootViewController::cellForRowAtIndexPath(
    TableView& tableView, const IndexPath& indexPath) {
    const KSTableRow row(dataForIndexPath(indexPath));
    const std::string identifier = row.reuseIdentifier();
    auto cell = tableView.dequeueReusableCell(identifier);
    if (!cell)
        cell = std::make_shared<TableViewCell>(
            cellStyleForString(row.string("cellStyle").value_or("")), identifier);
    resetCell(*cell, row, !disabledIndexPaths_.contains(indexPath));
    if (row.isHeader() || row.isFooter())
        configureCaption(*cell, row);
    else
        configureRow(*cell, row);
    if (auto picker = std::dynamic_pointer_cast<KSUIPickerCell>(cell))
        pickerCells_[indexPath] = picker;
    return cell;
}

void RootViewController::resetCell(TableViewCell& cell, const KSTableRow& row, bool enabled) {
    const KSPalette palette = currentPalette();
    const auto& text = cell.textLabel();
    auto detail = cell.detailTextLabel();
    text->setEnabled(enabled);
    text->setTextColor(palette.primaryTextColor());
    text->setText("");
    if (detail) {
        detail->setEnabled(enabled);
        detail->setTextColor(palette.secondaryTextColor());
        detail->setText("");
    }
    cell.setUserInteractionEnabled(enabled);
    const bool caption = row.isHeader() || row.isFooter();
    cell.setBackgroundColor(caption ? uikit::Color::clear() : palette.cellBackgroundColor());
    cell.setAccessoryView(nullptr);
    cell.setAccessoryType(TableViewCell::AccessoryType::none);
    cell.setSelectionStyle(TableViewCell::SelectionStyle::none);
}

void RootViewController::configureCaption(TableViewCell& cell, const KSTableRow& row) {
    auto label = cell.detailTextLabel();
    if (!label)
        label = cell.textLabel();
    const bool header = row.isHeader();
    label->setText(textOfRow(row, header ? "header" : "footer"));
    label->setNumberOfLines(header ? 1 : 0);
    label->setFont(header ? uikit::Font::boldSystemFont(16) : uikit::Font::systemFont(13));
    label->setBackgroundColor(uikit::Color::clear());
    cell.setSeparatorInset({0, kCaptionSeparatorInset, 0, 0});
}

void RootViewController::configureRow(TableViewCell& cell, const KSTableRow& row) {
    const auto& lines = row.value("titleLines");
    cell.textLabel()->setText(textOfRow(row, "title"));
    cell.textLabel()->setNumberOfLines(lines.isNumber() ? static_cast<int>(lines.integerValue())
                                                        : 1);
    if (auto detail = cell.detailTextLabel()) {
        detail->setText(textOfRow(row, "subtitle"));
        detail->setNumberOfLines(0);
    }
    auto icon = row.string("icon");
    cell.imageView()->setImage(icon ? uikit::Image::named(*icon) : nullptr);

    const auto control = row.string("control");
    if (control == "button") {
        cell.textLabel()->setTextColor(currentPalette().tintColor());
        cell.setSelectionStyle(TableViewCell::SelectionStyle::defaultStyle);
    } else if (control == "switch") {
        configureSwitch(cell, row);
    } else if (row.string("detail")) {
        cell.setSelectionStyle(TableViewCell::SelectionStyle::defaultStyle);
        cell.setAccessoryType(TableViewCell::AccessoryType::disclosureIndicator);
    } else if (auto picker = dynamic_cast<KSUIPickerCell*>(&cell); picker && row.isPicker()) {
        configurePicker(*picker, row);
    }
    if (auto color = row.string("titleColor"))
        cell.textLabel()->setTextColor(colorWithHexString(*color));
    if (auto color = row.string("subtitleColor"); color && cell.detailTextLabel())
        cell.detailTextLabel()->setTextColor(colorWithHexString(*color));
}

void RootViewController::configureSwitch(TableViewCell& cell, const KSTableRow& row) {
    auto control = std::make_shared<uikit::Switch>();
    std::weak_ptr<uikit::ViewController> weakSelf = weak_from_this();
    if (auto key = row.string("prefsKey")) {
        control->setOn(preferences().boolForKey(*key));
        control->addAction(
            [weakSelf, key = *key](uikit::Control& sender) {
                auto self = std::static_pointer_cast<RootViewController>(weakSelf.lock());
                if (self)
                    self->controlDidChangeValue(key, static_cast<uikit::Switch&>(sender).isOn());
            },
            uikit::ControlEvent::valueChanged);
    } else if (auto name = row.string("action")) {
        control->addAction(
            [weakSelf, name = *name](uikit::Control& sender) {
                auto self = std::static_pointer_cast<RootViewController>(weakSelf.lock());
                if (auto action = self ? self->methods_.switchAction(name) : nullptr)
                    action(static_cast<uikit::Switch&>(sender));
            },
            uikit::ControlEvent::valueChanged);
    }
    control->setOnTintColor(currentPalette().tintColor());
    cell.setAccessoryView(control);
    cell.setSelectionStyle(TableViewCell::SelectionStyle::none);
}

void RootViewController::configurePicker(KSUIPickerCell& cell, const KSTableRow& row) {
    const KSPalette palette = currentPalette();
    cell.setButtonTextColor(palette.tintColor());
    cell.setPrimaryTextColor(palette.primaryTextColor());
    // Every entry keeps its place, so that a title stays with its value.
    std::vector<std::string> titles;
    for (const auto& title : row.value("titles").array())
        titles.push_back(title.stringValue());
    cell.setTitleSource(std::move(titles));
    cell.setValueSource(row.value("values").array());
    cell.selectValue(foundation::Value(textOfRow(row, "initialValue")));
    cell.setDelegate(std::weak_ptr<KSPickerCellDelegate>(self()));
    cell.detailTextLabel()->setText(cell.currentTitle().value_or(""));
}

// Delegate.

std::optional<double> RootViewController::heightForRowAtIndexPath(TableView&,
                                                                  const IndexPath& indexPath) {
    if (!KSTableRow(dataForIndexPath(indexPath)).isPicker())
        return std::nullopt;
    auto found = pickerCells_.find(indexPath);
    auto cell = found == pickerCells_.end() ? nullptr : found->second.lock();
    return cell ? cell->heightForCell() : KSUIPickerCell::kCollapsedHeight;
}

std::optional<double> RootViewController::heightForHeaderInSection(TableView&, int) {
    return 0;
}

std::optional<double> RootViewController::heightForFooterInSection(TableView&, int) {
    return kSectionFooterHeight;
}

std::shared_ptr<uikit::View> RootViewController::viewForFooterInSection(TableView& tableView, int) {
    return std::make_shared<uikit::View>(
        uikit::Rect{0, 0, tableView.bounds().width(), kSectionFooterHeight});
}

std::optional<IndexPath> RootViewController::willSelectRowAtIndexPath(TableView&,
                                                                      const IndexPath& indexPath) {
    if (disabledIndexPaths_.contains(indexPath))
        return std::nullopt;
    return indexPath;
}

void RootViewController::didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) {
    auto keepAlive = shared_from_this();
    tableView.deselectRow(indexPath, true);
    lastSelectedIndexPath_ = indexPath;
    const KSTableRow row(dataForIndexPath(indexPath));
    // A switch's "action" belongs to the switch: a tap on its row has no switch to give it.
    auto name = row.string("detail");
    if (!name && row.string("control") != "switch")
        name = row.string("action");
    if (name)
        methods_.perform(*name);
    if (!row.isPicker() || !tableView_)
        return;
    if (auto cell =
            std::dynamic_pointer_cast<KSUIPickerCell>(tableView_->cellForRowAtIndexPath(indexPath)))
        cell->setSelectedWithTableView(tableView_);
}

void RootViewController::didEndDisplayingCell(TableView&, TableViewCell& cell,
                                              const IndexPath& indexPath) {
    auto* picker = dynamic_cast<KSUIPickerCell*>(&cell);
    if (!picker)
        return;
    if (auto found = pickerCells_.find(indexPath);
        found != pickerCells_.end() && found->second.lock().get() == picker)
        pickerCells_.erase(found);
    if (picker->isExpanded() && !picker->isResizing())
        picker->setSelectedWithTableView(nullptr);
}

// Switch changes.

void RootViewController::controlDidChangeValue(const std::string& prefsKey, bool on,
                                               Authentication mode) {
    std::weak_ptr<uikit::ViewController> weakSelf = weak_from_this();
    foundation::runOnMain([weakSelf, prefsKey, on, mode] {
        auto self = std::static_pointer_cast<RootViewController>(weakSelf.lock());
        auto indexPath = self ? self->indexPathForPrefsKey(prefsKey) : std::nullopt;
        if (!indexPath)
            return;
        const KSTableRow row(self->dataForIndexPath(*indexPath));
        if (mode == Authentication::notAsked && row.flag("requiresAuthentication"))
            return self->authenticateBeforeApplyingChangesToControl(prefsKey, on);
        if (mode == Authentication::refused)
            return self->reloadRowWithoutAnimation(*indexPath);
        self->applySwitchChange(row, on);
    });
}

void RootViewController::authenticateBeforeApplyingChangesToControl(const std::string& prefsKey,
                                                                    bool on) {
    std::weak_ptr<uikit::ViewController> weakSelf = weak_from_this();
    auto answer = [weakSelf, prefsKey, on](Authentication mode) {
        if (auto self = std::static_pointer_cast<RootViewController>(weakSelf.lock()))
            self->controlDidChangeValue(prefsKey, on, mode);
    };
    KSDeviceOwnerAuthentication::authenticate(
        foundation::localized("Please authenticate yourself to activate FaceID / TouchID / "
                              "Password authentication for packages management tasks"),
        [answer](bool success) {
            answer(success ? Authentication::authenticated : Authentication::refused);
        },
        [answer] {
            answer(Authentication::refused);
            KSTopmostAlert::show(
                foundation::localized("Corvane Authentication"),
                foundation::localized("Your device can't use FaceID, TouchID or password "
                                      "authentication at the moment. Most likely you haven't "
                                      "set it up in Settings."),
                foundation::localized("Close"));
        });
}

void RootViewController::applySwitchChange(const KSTableRow& row, bool on) {
    if (auto key = row.string("prefsKey"))
        writePreference(*key, on);
    for (const auto& key : row.strings("disablesKeys"))
        writePreference(key, false);
    for (const auto& key : row.strings("enableKeys"))
        writePreference(key, true);
    for (const auto& key : row.strings("additionalKeys"))
        writePreference(key, on);
    for (const auto& key : row.strings("invertedAdditionalKeys"))
        writePreference(key, !on);
    if (row.flag("requiresReloadSection"))
        reloadVisibleRows();
    if (auto callback = row.string("callback"))
        methods_.perform(*callback);
}

void RootViewController::writePreference(const std::string& key, bool on) {
    preferences().setValue(on, key);
    auto indexPath = indexPathForPrefsKey(key);
    if (!indexPath || !tableView_)
        return;
    auto cell = tableView_->cellForRowAtIndexPath(*indexPath);
    if (auto control =
            cell ? std::dynamic_pointer_cast<uikit::Switch>(cell->accessoryView()) : nullptr)
        control->setOn(on);
}

void RootViewController::reloadRowWithoutAnimation(const IndexPath& indexPath) {
    if (tableView_)
        tableView_->reloadRows({indexPath}, TableView::RowAnimation::none);
}

void RootViewController::reloadVisibleRows() {
    if (tableView_)
        tableView_->reloadRows(tableView_->indexPathsForVisibleRows(),
                               TableView::RowAnimation::none);
}

}  // namespace corvane
