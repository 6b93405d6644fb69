#include "screens/packages/PackagePageModel.h"

#include <algorithm>

#include "foundation/Dispatch.h"
#include "foundation/Localization.h"
#include "framework/packagemanager/KSKnownRepositories.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "screens/packages/PackageSnapshot.h"

namespace corvane {

using foundation::Value;

void PackagePageModel::changed(Change change) {
    if (listener_)
        listener_(change);
}

void PackagePageModel::setPackageDictionaryFromPackageObject() {
    packageDictionary_ = PackageSnapshot::packageDictionary(packageIdentifier_);
}

void PackagePageModel::setSourceDictionaryFromSourceObject() {
    auto source = PackageSnapshot::sourceDictionary(text("sourceLocation"));
    sourceFound_ = source.has_value();
    sourceDictionary_ = source.value_or(Value::Dictionary{});
}

void PackagePageModel::setPackageField(const std::string& key, Value value) {
    packageDictionary_[key] = std::move(value);
}

std::string PackagePageModel::text(const std::string& key) const {
    return PackageSnapshot::text(packageDictionary_, key);
}

std::optional<std::string> PackagePageModel::optionalText(const std::string& key) const {
    auto value = text(key);
    return value.empty() ? std::nullopt : std::optional<std::string>(std::move(value));
}

bool PackagePageModel::isInfoJson() const {
    return PackageSnapshot::field(sourceDictionary_, "isUsingInfoJson").boolValue();
}

bool PackagePageModel::hasChangelog() const {
    return PackageSnapshot::field(packageDictionary_, "changelog").count() > 0;
}

bool PackagePageModel::isHeaderMode() const {
    return !text("banner").empty() || !text("sileoDepiction").empty();
}

std::string PackagePageModel::developerName() const {
    for (const char* key : {"maintainer", "contact"})
        if (!text(key).empty())
            return text(key);
    const std::string sourceContact = PackageSnapshot::text(sourceDictionary_, "contact");
    return sourceContact.empty() ? foundation::localized("No dev name found") : sourceContact;
}

void PackagePageModel::beginAppearance(int reach) {
    ++appearance_;
    nativeDepictionCompatibleCydiaSources_ = {
        KSKnownRepositories::kBigBossLocation, KSKnownRepositories::kVostrelLocation,
        KSKnownRepositories::kModMyiLocation, KSKnownRepositories::kPellithLocation};
    refreshForCydiaPackages_ = false;
    reach_ = reach;
}

void PackagePageModel::whileCurrent(std::weak_ptr<PackagePageModel> model, std::uint64_t appearance,
                                    std::function<void(PackagePageModel&)> work) {
    foundation::runOnMain([model = std::move(model), appearance, work = std::move(work)] {
        auto alive = model.lock();
        if (alive && alive->appearance() == appearance)
            work(*alive);
    });
}

bool PackagePageModel::depictionsMayBeRead() const {
    return CorvanePersistentPreferences::sharedInstance().boolForKey(
               "GetCydiaPackageInfoFromDepiction") ||
           reach_ == 1 || reach_ == 2;
}

bool PackagePageModel::depictionExpected() const {
    if (!depictionsMayBeRead())
        return false;
    if (foundation::isPresentText(PackageSnapshot::field(packageDictionary_, "sileoDepiction")))
        return true;
    const auto& known = nativeDepictionCompatibleCydiaSources_;
    return std::find(known.begin(), known.end(),
                     PackageSnapshot::field(packageDictionary_, "sourceLocation").stringValue()) !=
           known.end();
}

void PackagePageModel::setChangelog(std::optional<std::string> changelog, bool markdown) {
    cydiaPackageHaveChangelog_ = changelog.has_value();
    changelog_ = changelog.value_or("");
    changelogIsMarkdown_ = markdown;
    changed(Change::changelog);
}

void PackagePageModel::setDepictionDescription(std::string description) {
    depictionDescription_ = std::move(description);
    changed(Change::description);
}

void PackagePageModel::setDepictionName(std::string name) {
    depictionName_ = std::move(name);
    changed(Change::name);
}

void PackagePageModel::endDepictionWait() {
    refreshForCydiaPackages_ = true;
    changed(Change::depictionEnded);
}

void PackagePageModel::depictionPageMissing() {
    refreshForCydiaPackages_ = true;
    changed(Change::storedLabels);
}

void PackagePageModel::nativeDepictionRead() {
    changed(Change::nativeDepictionRead);
}

void PackagePageModel::keepScreenshots() {
    screenshotRetrievingFail_ = false;
    endDepictionWait();
}

bool PackagePageModel::holdsScreenshots() const {
    return !screenshotsDictionary_.empty() ||
           PackageSnapshot::field(packageDictionary_, "screenshotsLocalPaths").count() > 0;
}

void PackagePageModel::applyScreenshots(const PackageScreenshots::Outcome& outcome,
                                        bool fallsBackToDepiction) {
    // A batch that brought nothing leaves what the page showed before.
    if (!outcome.images.empty() || outcome.cleared) {
        screenshotsDictionary_.clear();
        int number = 0;
        for (const auto& image : outcome.images)
            screenshotsDictionary_[++number] = image;
    }
    if (outcome.stored) {
        packageDictionary_["screenshots"] =
            Value(Value::Array(outcome.addresses.begin(), outcome.addresses.end()));
        packageDictionary_["screenshotsLocalPaths"] =
            Value(Value::Array(outcome.localPaths.begin(), outcome.localPaths.end()));
    }
    refreshForCydiaPackages_ = true;
    screenshotRetrievingFail_ = screenshotsDictionary_.empty();
    changed(Change::screenshots);
    if (outcome.cleared && fallsBackToDepiction && !isInfoJson())
        changed(Change::screenshotsGone);
}

void PackagePageModel::setBanner(std::shared_ptr<uikit::Image> banner) {
    banner_ = std::move(banner);
    changed(Change::banner);
}

void PackagePageModel::setAuthorAvatar(std::shared_ptr<uikit::Image> avatar) {
    if (avatar) {
        authorAvatar_ = std::move(avatar);
        authorAvatarDownloaded_ = true;
    } else if (!authorAvatarDownloaded_) {
        authorAvatar_ = uikit::Image::named("iTunesArtwork.png");
    }
    changed(Change::avatar);
}

void PackagePageModel::setAverageRating(std::optional<std::string> rating) {
    averageRating_ = std::move(rating);
    changed(Change::averageRating);
}

int PackagePageModel::myRating() const {
    return static_cast<int>(PackageSnapshot::field(packageDictionary_, "myRating").integerValue());
}

void PackagePageModel::answerReviews(std::uint64_t request,
                                     std::optional<std::vector<KSReviews>> reviews) {
    if (request <= reviewsAnswered_)
        return;
    reviewsAnswered_ = request;
    if (reviews)
        packageReviews_ = std::move(*reviews);
    changed(Change::reviews);
}

void PackagePageModel::loadDevPackages() {
    const bool showIncompatible =
        CorvanePersistentPreferences::sharedInstance().boolForKey("ShowIncompatiblePackages");
    const std::string maintainer = text("maintainer");
    auto packages =
        KSRPackageManager::sharedPackageManager()
            .packages()
            .packagesOfMaintainer(maintainer.empty() ? std::nullopt : std::optional(maintainer))
            .sortedResultsUsingKeyPath("name", true);
    devPackages_.clear();
    for (const auto& package : packages) {
        if (package.identifier == packageIdentifier_ ||
            (!showIncompatible && package.tweakCompatibleStatus == 1))
            continue;
        devPackages_.push_back(package.identifier);
    }
}

void PackagePageModel::setPackageInfo(bool available, bool owned,
                                      std::optional<std::string> price) {
    packagePrice_ = std::move(price);
    packageOwned_ = owned;
    packageAvailable_ = available;
    packageInfoWasFetched_ = true;
    buttonAlpha_ = available ? 1.0 : 0.5;
    changed(Change::purchase);
}

std::string PackagePageModel::getButtonTitle() const {
    const bool fetched = packageInfoWasFetched_;
    return KSRPackageManager::sharedPackageManager().packages().getButtonTitleForPackageIdentifier(
        packageIdentifier_, true, fetched ? packageAvailable_ : true, fetched && packageOwned_,
        fetched ? packagePrice_ : std::nullopt);
}

}  // namespace corvane
