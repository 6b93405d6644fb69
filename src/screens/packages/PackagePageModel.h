#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Value.h"
#include "framework/webservice/KSReviews.h"
#include "screens/packages/PackageScreenshots.h"
#include "uikit/Image.h"

namespace corvane {

// What the package page knows: its copies of the stored package and source, and what the loads
// of each appearance brought (screenshots, depiction, banner, avatar, ratings, reviews, the
// store's answer). The loads write here and nowhere else, and the page hears of every change to
// show it. Main thread.
class PackagePageModel {
  public:
    enum class Change {
        // A screenshot batch ended, with images or without.
        screenshots,
        // Every stored screenshot failed for good: the depiction may bring others.
        screenshotsGone,
        // The depiction of this appearance has brought all it will.
        depictionEnded,
        // The depiction's page is missing: the stored texts come back.
        storedLabels,
        nativeDepictionRead,
        changelog,
        description,
        name,
        banner,
        avatar,
        averageRating,
        reviews,
        purchase,
    };
    using Listener = std::function<void(Change)>;

    explicit PackagePageModel(std::string identifier) : packageIdentifier_(std::move(identifier)) {}

    void setListener(Listener listener) { listener_ = std::move(listener); }
    const std::string& packageIdentifier() const { return packageIdentifier_; }

    // The copies of the stored records, read again on every appearance.
    const foundation::Value::Dictionary& packageDictionary() const { return packageDictionary_; }
    const foundation::Value::Dictionary& sourceDictionary() const { return sourceDictionary_; }
    bool sourceFound() const { return sourceFound_; }
    void setPackageDictionaryFromPackageObject();
    void setSourceDictionaryFromSourceObject();
    // Keeps the copy in step with what the page itself stored.
    void setPackageField(const std::string& key, foundation::Value value);
    // The package's text under the key when it is present text, else "".
    std::string text(const std::string& key) const;
    // The same, nothing in place of "".
    std::optional<std::string> optionalText(const std::string& key) const;
    bool isInfoJson() const;
    bool hasChangelog() const;
    // A banner stands over the page: the package names one, or a native depiction.
    bool isHeaderMode() const;
    // The author as the page names it: the maintainer, else the package's contact, else the
    // source's contact, else "No dev name found".
    std::string developerName() const;

    // Counts the appearances; results of an earlier one are dropped.
    std::uint64_t appearance() const { return appearance_; }
    void beginAppearance(int reach);
    // Runs the work on the main thread while the model is there and the appearance that asked is
    // still the current one.
    static void whileCurrent(std::weak_ptr<PackagePageModel> model, std::uint64_t appearance,
                             std::function<void(PackagePageModel&)> work);

    // The depiction.
    int reach() const { return reach_; }
    const std::vector<std::string>& nativeDepictionCompatibleCydiaSources() const {
        return nativeDepictionCompatibleCydiaSources_;
    }
    // The preference to read depictions is on, or the network is reachable.
    bool depictionsMayBeRead() const;
    // Depictions may be read and the package has one: a native depiction of its own, or the web
    // depiction of one of the repositories whose pages are read.
    bool depictionExpected() const;
    // The depiction load of this appearance has ended, whatever its outcome: until then the
    // screenshot section is kept for what it may bring, afterwards it shows only what came.
    // Every later pass of the same appearance keeps that decision.
    bool refreshForCydiaPackages() const { return refreshForCydiaPackages_; }
    bool cydiaPackageHaveChangelog() const { return cydiaPackageHaveChangelog_; }
    const std::string& changelog() const { return changelog_; }
    bool changelogIsMarkdown() const { return changelogIsMarkdown_; }
    // Nothing: the depiction has no changelog.
    void setChangelog(std::optional<std::string> changelog, bool markdown);
    const std::string& depictionDescription() const { return depictionDescription_; }
    void setDepictionDescription(std::string description);
    const std::string& depictionName() const { return depictionName_; }
    void setDepictionName(std::string name);
    void endDepictionWait();
    void depictionPageMissing();
    void nativeDepictionRead();
    // The depiction's screenshots were not fetched: the section shows what it has.
    void keepScreenshots();

    // The screenshots, numbered from 1, and the before/after pair.
    const std::map<int, std::shared_ptr<uikit::Image>>& screenshotsDictionary() const {
        return screenshotsDictionary_;
    }
    bool screenshotRetrievingFail() const { return screenshotRetrievingFail_; }
    // The page shows screenshots or has cached files of them.
    bool holdsScreenshots() const;
    // The end of a screenshot batch; an appearance's batch that leaves nothing stored asks the
    // depiction again.
    void applyScreenshots(const PackageScreenshots::Outcome& outcome, bool fallsBackToDepiction);
    const std::map<std::string, std::shared_ptr<uikit::Image>>& beforeAfterScreenshotsDictionary()
        const {
        return beforeAfterScreenshotsDictionary_;
    }
    bool beforeAfterScreenshotsRetrievingFail() const {
        return beforeAfterScreenshotsRetrievingFail_;
    }

    // The banner over the page; null when the depiction named none.
    bool bannerCached() const { return bannerCached_; }
    void setBannerCached() { bannerCached_ = true; }
    const std::shared_ptr<uikit::Image>& banner() const { return banner_; }
    void setBanner(std::shared_ptr<uikit::Image> banner);

    // The author strip's image: the downloaded avatar, else the placeholder.
    const std::shared_ptr<uikit::Image>& authorAvatar() const { return authorAvatar_; }
    // A downloaded avatar, or null for the placeholder, which never replaces a downloaded one.
    void setAuthorAvatar(std::shared_ptr<uikit::Image> avatar);

    const std::optional<std::string>& averageRating() const { return averageRating_; }
    void setAverageRating(std::optional<std::string> rating);
    int myRating() const;
    // The reviews shown, and the numbers of the requests for them made and answered.
    const std::vector<KSReviews>& packageReviews() const { return packageReviews_; }
    std::uint64_t beginReviewsRequest() { return ++reviewsRequests_; }
    // A failed request keeps what was shown, and one that answers after a newer one is out of
    // date.
    void answerReviews(std::uint64_t request, std::optional<std::vector<KSReviews>> reviews);
    bool reviewsSettled() const { return reviewsAnswered_ == reviewsRequests_; }

    // The author's other packages, by name; incompatible ones only when the person asks for
    // them.
    const std::vector<std::string>& devPackages() const { return devPackages_; }
    void loadDevPackages();

    // The store's answer about a paid package.
    void setPackageInfo(bool available, bool owned, std::optional<std::string> price);
    double buttonAlpha() const { return buttonAlpha_; }
    // The Get buttons' title from the package's state now and the store's answer.
    std::string getButtonTitle() const;

  private:
    void changed(Change change);

    std::string packageIdentifier_;
    Listener listener_;
    foundation::Value::Dictionary packageDictionary_;
    foundation::Value::Dictionary sourceDictionary_;
    bool sourceFound_ = false;
    std::uint64_t appearance_ = 0;

    int reach_ = 0;
    std::vector<std::string> nativeDepictionCompatibleCydiaSources_;
    bool refreshForCydiaPackages_ = false;
    bool cydiaPackageHaveChangelog_ = false;
    std::string changelog_;
    bool changelogIsMarkdown_ = false;
    std::string depictionDescription_;
    std::string depictionName_;

    std::map<int, std::shared_ptr<uikit::Image>> screenshotsDictionary_;
    bool screenshotRetrievingFail_ = false;
    std::map<std::string, std::shared_ptr<uikit::Image>> beforeAfterScreenshotsDictionary_;
    bool beforeAfterScreenshotsRetrievingFail_ = false;

    bool bannerCached_ = false;
    std::shared_ptr<uikit::Image> banner_;
    std::shared_ptr<uikit::Image> authorAvatar_;
    bool authorAvatarDownloaded_ = false;

    std::optional<std::string> averageRating_;
    std::vector<KSReviews> packageReviews_;
    std::uint64_t reviewsRequests_ = 0;
    std::uint64_t reviewsAnswered_ = 0;
    std::vector<std::string> devPackages_;

    bool packageInfoWasFetched_ = false;
    bool packageAvailable_ = true;
    bool packageOwned_ = false;
    std::optional<std::string> packagePrice_;
    double buttonAlpha_ = 1;
};

}  // namespace corvane
