#include "screens/packages/PackageDepictions.h"

#include <functional>
#include <optional>

#include "foundation/Dispatch.h"
#include "foundation/Log.h"
#include "framework/depictions/KSDepictionPageLoader.h"
#include "framework/depictions/KSDepictionsParser.h"
#include "framework/depictions/KSExternalChangelog.h"
#include "framework/depictions/KSVostrelLayout.h"
#include "framework/network/KSFetchableURL.h"
#include "framework/network/RepositoryRequest.h"
#include "framework/packagemanager/KSKnownRepositories.h"
#include "screens/packages/PackageBanner.h"
#include "screens/packages/PackagePageModel.h"
#include "screens/packages/PackageScreenshots.h"

namespace corvane {

namespace {

using Text = std::optional<std::string>;
using URLs = std::vector<std::string>;

// What the background steps need, copied on the main thread when the request starts.
struct Context {
    std::weak_ptr<PackageDepictions> reader;
    std::weak_ptr<PackagePageModel> model;
    std::uint64_t appearance = 0;
    std::string identifier;
    std::string website;
    std::string sourceLocation;

    // Runs the work on the main thread while the appearance that asked is the current one.
    void later(std::function<void(PackagePageModel&)> work) const {
        PackagePageModel::whileCurrent(model, appearance, std::move(work));
    }
    void laterOnReader(std::function<void(PackageDepictions&)> work) const {
        later([reader = reader, work = std::move(work)](PackagePageModel&) {
            if (auto alive = reader.lock())
                work(*alive);
        });
    }
};

Context contextOf(const std::shared_ptr<PackageDepictions>& reader,
                  const std::shared_ptr<PackagePageModel>& model) {
    return {reader,
            model,
            model->appearance(),
            model->packageIdentifier(),
            model->text("website"),
            model->text("sourceLocation")};
}

// Changelog steps that every family shares.
std::function<void(Text)> changelogTo(const Context& context, bool markdown) {
    return [context, markdown](Text changelog) {
        context.later([markdown, changelog](PackagePageModel& model) {
            model.setChangelog(changelog, markdown);
        });
    };
}

std::function<void(Text)> nameTo(const Context& context) {
    return [context](Text name) {
        if (name)
            context.later([name](PackagePageModel& model) { model.setDepictionName(*name); });
    };
}

std::function<void(Text)> descriptionTo(const Context& context) {
    return [context](Text description) {
        if (description)
            context.later([description](PackagePageModel& model) {
                model.setDepictionDescription(*description);
            });
    };
}

std::function<void(URLs)> screenshotsTo(const Context& context) {
    return [context](URLs addresses) {
        context.laterOnReader(
            [addresses = std::move(addresses)](PackageDepictions& reader) mutable {
                reader.applyScreenshots(std::move(addresses));
            });
    };
}

void externalChangelog(const Context& context, std::shared_ptr<const KSSileoDepiction> depiction) {
    depiction->retrieveExternalChangelogFromSileoDepiction([context](Text address) {
        if (!address) {
            context.later([](PackagePageModel& model) { model.setChangelog(std::nullopt, false); });
            return;
        }
        KSExternalChangelog::retrieve(*address, changelogTo(context, false));
    });
}

void applySileo(const Context& context, bool bannerCached,
                std::shared_ptr<const KSSileoDepiction> depiction) {
    if (!bannerCached)
        depiction->retrieveBannerURLFromSileoDepiction([context](Text address) {
            context.later([address, model = context.model](PackagePageModel& current) {
                if (address)
                    PackageBanner::fetch(model.lock(), *address);
                else
                    current.setBanner(nullptr);
            });
        });
    depiction->retrieveChangelogFromSileoDepiction([context, depiction](Text changelog) {
        if (changelog)
            changelogTo(context, true)(changelog);
        else
            externalChangelog(context, depiction);
    });
    depiction->retrieveDescriptionFromSileoDepiction(descriptionTo(context));
    context.later([](PackagePageModel& model) { model.nativeDepictionRead(); });
    depiction->retrieveScreenshotsFromSileoDepiction(screenshotsTo(context));
}

// Which of the four repositories' layouts the page is in.
enum class Family { bigBoss, vostrel, pellith, none };

Family familyOf(const std::string& location) {
    if (location == KSKnownRepositories::kBigBossLocation)
        return Family::bigBoss;
    if (location == KSKnownRepositories::kVostrelLocation ||
        location == KSKnownRepositories::kModMyiLocation)
        return Family::vostrel;
    if (location == KSKnownRepositories::kPellithLocation)
        return Family::pellith;
    return Family::none;
}

std::optional<foundation::URL> pageURL(Family family, const Context& context) {
    if (family == Family::vostrel)
        return KSVostrelLayout::packagePageURL(context.identifier);
    return KSFetchableURL::fromString(context.website);
}

void applyScraped(Family family, const Context& context,
                  const std::shared_ptr<const KSHTMLDepiction>& depiction) {
    switch (family) {
        case Family::bigBoss:
            depiction->retrieveNameFromBigBossDepiction(nameTo(context));
            depiction->retrieveDescriptionFromBigBossDepiction(descriptionTo(context));
            depiction->retrieveChangelogFromBigBossDepiction(changelogTo(context, false));
            depiction->retrieveScreenshotsFromBigBossDepictionForPackageWithURL(
                context.website, screenshotsTo(context));
            break;
        case Family::vostrel:
            depiction->retrieveNameFromVostrelTypeDepiction(nameTo(context));
            depiction->retrieveDescriptionFromVostrelTypeDepiction(descriptionTo(context));
            depiction->retrieveChangelogFromVostrelTypeDepictionForPackageWithIdentifier(
                context.identifier, changelogTo(context, false));
            depiction->retrieveScreenshotsFromVostrelTypeDepiction(screenshotsTo(context));
            break;
        case Family::pellith:
            depiction->retrieveDescriptionFromPellithDepiction(descriptionTo(context));
            depiction->retrieveChangelogFromPellithDepictionForPackageWithURL(
                context.website, changelogTo(context, false));
            depiction->retrieveScreenshotsFromPellithDepictionForPackageWithURL(
                context.website, screenshotsTo(context));
            break;
        case Family::none:
            break;
    }
}

}  // namespace

PackageDepictions::PackageDepictions(std::shared_ptr<PackagePageModel> model,
                                     std::shared_ptr<PackageScreenshots> screenshots)
    : model_(std::move(model)), screenshots_(std::move(screenshots)) {}

void PackageDepictions::read() {
    if (!model_->depictionExpected())
        return;
    if (!model_->text("sileoDepiction").empty())
        getSileoDepiction();
    else
        getHtmlPageForCydiaPackage();
}

void PackageDepictions::getSileoDepiction() {
    const Context context = contextOf(shared_from_this(), model_);
    const bool bannerCached = model_->bannerCached();
    auto url = KSFetchableURL::fromString(model_->text("sileoDepiction"));
    if (!url) {
        KSLog("Error : %@",
              "the native depiction of " + context.identifier + " is no http or https address");
        getHtmlPageForCydiaPackage();
        return;
    }
    foundation::URLRequest request(*url);
    request.cachePolicy = foundation::URLRequestCachePolicy::ReloadIgnoringLocalCacheData;
    KSDepictionPageLoader::load(
        std::move(request), [context, bannerCached](std::optional<foundation::Bytes> body) {
            if (!body) {
                context.laterOnReader(
                    [](PackageDepictions& reader) { reader.getHtmlPageForCydiaPackage(); });
                return;
            }
            applySileo(context, bannerCached,
                       KSDepictionsParser::instance().depictionsParserWithSileoData(*body));
        });
}

void PackageDepictions::getHtmlPageForCydiaPackage() {
    const Context context = contextOf(shared_from_this(), model_);
    const Family family = familyOf(context.sourceLocation);
    auto url = family == Family::none ? std::nullopt : pageURL(family, context);
    if (!url) {
        if (family == Family::none)
            model_->endDepictionWait();
        else
            model_->depictionPageMissing();
        return;
    }
    KSDepictionPageLoader::load(
        RepositoryRequest::requestForPageOfRepository(*url, context.sourceLocation),
        [context, family](std::optional<foundation::Bytes> body) {
            if (!body) {
                context.later([](PackagePageModel& model) { model.depictionPageMissing(); });
                return;
            }
            applyScraped(family, context,
                         KSDepictionsParser::instance().depictionsParserWithData(*body));
        });
}

void PackageDepictions::applyScreenshots(std::vector<std::string> addresses) {
    if (!model_->holdsScreenshots() && screenshots_->replace(std::move(addresses)))
        return;
    model_->keepScreenshots();
}

}  // namespace corvane
