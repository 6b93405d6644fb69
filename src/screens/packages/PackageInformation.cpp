#include "screens/packages/PackageInformation.h"

#include "foundation/ByteCountFormatter.h"
#include "foundation/DateFormatter.h"
#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/Strings.h"
#include "framework/misc/KSKnownRepositories.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "screens/packages/PackageAdvertisement.h"
#include "screens/packages/PackageDetailsViewController.h"
#include "screens/packages/PackageReviews.h"
#include "screens/packages/PackageSnapshot.h"
#include "ui/extensions/MarkdownAttributedText.h"

namespace corvane {

namespace {

using foundation::localized;
using foundation::Value;

constexpr auto field = &PackageSnapshot::field;
constexpr auto text = &PackageSnapshot::text;

bool present(const Value::Dictionary& dictionary, const std::string& key) {
    return !text(dictionary, key).empty();
}

void applyStars(PackageDetailsViewController& page, const Value& rating) {
    if (!rating.isNumber() || rating.integerValue() <= 0) {
        page.ratingLbl->setText(foundation::format(localized("%@ out of 5 rating"), "0"));
        return;
    }
    PackageReviews::showStars(page, static_cast<int>(rating.integerValue()));
    page.ratingLbl->setText(
        foundation::format(localized("%@ out of 5 rating"), rating.stringValue()));
}

std::string versionText(const Value::Dictionary& package) {
    if (field(package, "isInstalled").boolValue() && present(package, "installedVersion"))
        return text(package, "installedVersion");
    if (present(package, "version"))
        return text(package, "version");
    return localized("None");
}

void applyVideo(PackageDetailsViewController& page, bool infoJson) {
    const std::string address = text(page.packageDictionary(), "youtube");
    const std::string marker = "watch?v=";
    const auto at = address.find(marker);
    if (infoJson && at != std::string::npos)
        page.videoPreviewPlayer->loadWithVideoId(address.substr(at + marker.size()));
}

void applyDescription(PackageDetailsViewController& page, bool infoJson) {
    const auto& package = page.packageDictionary();
    if (infoJson) {
        std::string description = foundation::replace(text(package, "Description"), "/n", "  ");
        page.descriptionLbl->setAttributedText(MarkdownAttributedText::attributedTextFromMarkdown(
            Value(description), page.isDarkMode()));
        return;
    }
    page.descriptionLbl->setText(text(package, "Description"));
    if (text(package, "sourceLocation") == KSKnownRepositories::kBigBossLocation)
        PackageAdvertisement::load(*page.adsWebView, text(package, "name"));
}

void applyDeveloper(PackageDetailsViewController& page) {
    const auto& package = page.packageDictionary();
    const std::string developer =
        PackageInformation::developerName(package, page.sourceDictionary());
    page.authorLbl->setText(developer);
    page.authorLbl->sizeToFit();
    page.developerNameLbl->setText(developer);
    page.developerNameLbl->setAdjustsFontSizeToFitWidth(true);
    page.moreDevPackagesTitle->setText(foundation::format(localized("More by %@"), developer));
    page.copyrightLbl->setText(
        foundation::format("\u00A9 %@ \n%@", developer, text(package, "identifier")));
}

void applyRepository(PackageDetailsViewController& page) {
    const auto& package = page.packageDictionary();
    const std::string location = text(package, "sourceLocation");
    auto placeholder = uikit::Image::named("iTunesArtwork.png");
    if (page.sourceFound()) {
        auto icon = KSRPackageManager::sharedPackageManager().sources().iconForLocation(location);
        page.repositoryIconImageView->setImage(icon ? icon : placeholder);
        page.repositoryNameLbl->setText(text(page.sourceDictionary(), "name"));
        page.repositoryDescriptionLbl->setText(text(page.sourceDictionary(), "Description"));
        return;
    }
    page.repositoryIconImageView->setImage(placeholder);
    if (location == PackageInformation::kDPKGLocation) {
        page.repositoryNameLbl->setText("DPKG");
        page.repositoryDescriptionLbl->setText(
            localized("This package has been installed through another package manager"));
    } else {
        page.repositoryNameLbl->setText(localized("Removed Source"));
        page.repositoryDescriptionLbl->setText(
            localized("The source of this package has been removed"));
    }
}

}  // namespace

std::string PackageInformation::developerName(const Value::Dictionary& package,
                                              const Value::Dictionary& source) {
    if (present(package, "maintainer"))
        return text(package, "maintainer");
    if (present(package, "contact"))
        return text(package, "contact");
    if (present(source, "contact"))
        return text(source, "contact");
    return localized("No dev name found");
}

std::string PackageInformation::joinedEntries(const Value& entries) {
    std::string joined;
    const auto& list = entries.array();
    for (std::size_t index = 0; index < list.size(); ++index) {
        joined += list[index].stringValue();
        if (index + 1 < list.size())
            joined += "\n";
    }
    return joined;
}

std::string PackageInformation::versionRange(const Value::Dictionary& package,
                                             std::string* caption) {
    const bool minimum = present(package, "minosversion");
    const bool maximum = present(package, "maxosversion");
    if (minimum && maximum)
        return foundation::format("iOS %@ - %@", text(package, "minosversion"),
                                  text(package, "maxosversion"));
    if (minimum) {
        *caption = localized("Minimum OS");
        return foundation::format("iOS %@", text(package, "minosversion"));
    }
    if (maximum) {
        *caption = localized("Maximum OS");
        return foundation::format("iOS %@", text(package, "maxosversion"));
    }
    return localized("Nothing specified");
}

std::string PackageInformation::dateText(const Value& date) {
    auto seconds = date.dateValue();
    if (!seconds)
        return localized("None");
    std::string shown =
        foundation::DateFormatter::shortDate().stringFromDate(seconds->secondsSince1970);
    return shown.empty() || shown == "01/01/1970" ? localized("None") : shown;
}

void PackageInformation::apply(PackageDetailsViewController& page) {
    const auto& package = page.packageDictionary();
    const bool infoJson = field(page.sourceDictionary(), "isUsingInfoJson").boolValue();
    page.iconView->setImage(KSRPackageManager::sharedPackageManager().packages().iconForIdentifier(
        page.packageIdentifier()));
    page.nameLbl->setText(text(package, "name"));
    page.nameLbl->setAdjustsFontSizeToFitWidth(true);
    page.verifiedIconView->setHidden(text(package, "sourceLocation") !=
                                     KSKnownRepositories::kMakerLocation);
    page.updateGetButtonTitle();
    applyStars(page, field(package, "myRating"));
    page.packageVersionLbl->setText(versionText(package));
    page.packageCategoryLbl->setText(present(package, "category") ? text(package, "category")
                                                                  : localized("None"));
    applyVideo(page, infoJson);
    applyDescription(page, infoJson);
    applyDeveloper(page);
    page.packageSizeLbl->setText(present(package, "size")
                                     ? foundation::ByteCountFormatter::stringFromByteCount(
                                           foundation::integerValue(text(package, "size")))
                                     : std::string());

    std::string caption = localized("Compatibility");
    page.packageCompatibilityLbl->setText(versionRange(package, &caption));
    page.compatibilityLbl->setText(caption);
    page.compatibilityLbl->setAdjustsFontSizeToFitWidth(true);
    page.packageCompatibilityLbl->setAdjustsFontSizeToFitWidth(true);

    const Value& dependencies = field(package, "dependencies");
    page.packageDependenciesLbl->setText(dependencies.count() ? joinedEntries(dependencies)
                                                              : localized("No dependencies"));
    const Value& conflicts = field(package, "conflicts");
    page.packageConflictsLbl->setText(conflicts.count() ? joinedEntries(conflicts)
                                                        : localized("No conflicts"));
    page.packagePostInstallActionLbl->setText(
        present(package, "postinstallaction")
            ? foundation::capitalized(text(package, "postinstallaction"))
            : localized("Nothing"));
    page.packageDateLbl->setText(dateText(field(package, "date")));
    applyRepository(page);
}

}  // namespace corvane
