#include "screens/packages/KSPackageListSort.h"

#include "foundation/Localization.h"
#include "framework/preferences/CorvanePersistentPreferences.h"

namespace corvane {

namespace {

using foundation::localized;
using uikit::AlertAction;

struct Choice {
    const char* title;
    const char* stored;
    const char* property;
    bool installedListOnly = false;
};

// In the order the sheet offers them.
const Choice kChoices[] = {
    {"Category", "Category", "category"},
    {"Install date", "InstallDate", "installDate", true},
    {"Maintainer", "Maintainer", "maintainer"},
    {"Name", "Name", "name"},
    {"Source", "Source", "sourceLocation"},
};

bool offers(const Choice& choice, const KSPackageListCategory& category) {
    return !choice.installedListOnly ||
           category.is(KSPackageListCategory::Special::installedPackages);
}

}  // namespace

std::string KSPackageListSort::sortPropertyForPrefs(const KSPackageListCategory& category) {
    const auto stored = CorvanePersistentPreferences::sharedInstance().stringForKey(kPreferenceKey);
    for (const auto& choice : kChoices) {
        if (stored == choice.stored && offers(choice, category))
            return choice.property;
    }
    return "name";
}

std::shared_ptr<uikit::AlertController> KSPackageListSort::sortSheet(
    const KSPackageListCategory& category, std::function<void()> didChoose) {
    auto sheet = uikit::AlertController::create(
        localized("Sort Installed Packages"),
        localized("How do you want to sort your installed packages:"),
        uikit::AlertController::Style::actionSheet);
    for (const auto& choice : kChoices) {
        if (!offers(choice, category))
            continue;
        sheet->addAction(AlertAction::create(
            localized(choice.title), AlertAction::Style::defaultStyle,
            [stored = choice.stored, didChoose](AlertAction&) {
                CorvanePersistentPreferences::sharedInstance().setValue(stored, kPreferenceKey);
                if (didChoose)
                    didChoose();
            }));
    }
    sheet->addAction(AlertAction::create(localized("Cancel"), AlertAction::Style::cancel));
    return sheet;
}

}  // namespace corvane
