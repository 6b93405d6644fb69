#include "ui/settings/SettingsCellNib.h"

#include "ui/settings/SettingsCell.h"
#include "uikit/NibRegistry.h"

namespace corvane {

void SettingsCellNib::registerNib() {
    uikit::NibRegistry::shared().registerNib(SettingsCell::kNibName, &build);
}

std::shared_ptr<uikit::View> SettingsCellNib::build(const std::shared_ptr<uikit::ViewController>&) {
    auto cell = std::make_shared<SettingsCell>();
    cell->setSelectionStyle(uikit::TableViewCell::SelectionStyle::none);

    cell->optionLbl = std::make_shared<uikit::Label>();
    cell->optionLbl->setNumberOfLines(0);
    cell->contentView()->addSubview(cell->optionLbl);
    cell->optionLblWidthConstraint =
        cell->optionLbl->widthAnchor().constraintEqualToConstant(kLabelWidth);
    cell->optionLblWidthConstraint->setActive(true);

    cell->optionSwitch = std::make_shared<uikit::Switch>();
    cell->contentView()->addSubview(cell->optionSwitch);
    std::weak_ptr<uikit::View> weakCell = cell;
    cell->optionSwitch->addAction(
        [weakCell](uikit::Control& sender) {
            if (auto owner = std::static_pointer_cast<SettingsCell>(weakCell.lock()))
                owner->switchAction(static_cast<uikit::Switch&>(sender));
        },
        uikit::ControlEvent::valueChanged);
    return cell;
}

}  // namespace corvane
