#include "screens/packages/PackageDepictions.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

#include "foundation/Dispatch.h"
#include "foundation/Log.h"
#include "framework/depictions/KSDepictionPageLoader.h"
#include "framework/depictions/KSDepictionsParser.h"
#include "framework/depictions/KSExternalChangelog.h"
#include "framework/depictions/KSVostrelLayout.h"
#include "framework/misc/KSKnownRepositories.h"
#include "framework/network/KSFetchableURL.h"
#include "framework/network/RepositoryRequest.h"
#include "screens/packages/PackageBanner.h"
#include "screens/packages/PackageContentLayout.h"
#include "screens/packages/PackageDetailsViewController.h"
#include "screens/packages/PackageScreenshots.h"
#include "screens/packages/PackageSnapshot.h"
#include "ui/extensions/MarkdownAttributedText.h"
#include "ui/extensions/ScrollViewInteractiveHeader.h"

namespace corvane {

namespace {

using Page = PackageDetailsViewController;
using Text = std::optional<std::string>;
using URLs = std::vector<std::string>;
constexpr auto text = &PackageSnapshot::text;

// What the background steps need of the page, copied on the main thread.
struct Context {
    std::weak_ptr<Page> page;
    std::uint64_t appearance = 0;
    std::string identifier;
    std::string version;
    std::string website;
    std::string sourceLocation;

    // Runs the work on the main thread while the appearance that asked is the page's current.
    void later(std::function<void(Page&)> work) const {
        foundation::runOnMain([page = page, appearance = appearance, work = std::move(work)] {
            auto alive = page.lock();
            if (alive && alive->appearance() == appearance)
                work(*alive);
        });
    }
};

Context contextOf(Page& page) {
    const auto& package = page.packageDictionary();
    return {std::static_pointer_cast<Page>(page.shared_from_this()),
            page.appearance(),
            page.packageIdentifier(),
            text(package, "version"),
            text(package, "website"),
            text(package, "sourceLocation")};
}

void endWait(Page& page) {
    page.refreshForCydiaPackages = true;
    page.setContent();
}

void setDescription(Page& page, const std::string& markdown) {
    page.descriptionLbl->setAttributedText(MarkdownAttributedText::attributedTextFromMarkdown(
        foundation::Value(markdown), page.isDarkMode()));
}

void setNoChangelog(Page& page) {
    page.cydiaPackageHaveChangelog = false;
    page.setContent();
}

void setChangelog(Page& page, const Context& context, const std::string& changelog, bool markdown) {
    page.cydiaPackageHaveChangelog = true;
    if (markdown)
        page.changelogContentLbl->setAttributedText(
            MarkdownAttributedText::attributedTextFromMarkdown(foundation::Value(changelog),
                                                               page.isDarkMode()));
    else
        page.changelogContentLbl->setText(changelog);
    page.changelogVersionLbl->setText(context.version);
    page.setContent();
}

// Changelog steps that every family shares.
std::function<void(Text)> changelogTo(const Context& context, bool markdown) {
    return [context, markdown](Text changelog) {
        context.later([context, markdown, changelog](Page& page) {
            if (changelog)
                setChangelog(page, context, *changelog, markdown);
            else
                setNoChangelog(page);
        });
    };
}

std::function<void(Text)> nameTo(const Context& context) {
    return [context](Text name) {
        if (name)
            context.later([name](Page& page) { page.nameLbl->setText(*name); });
    };
}

std::function<void(Text)> descriptionTo(const Context& context) {
    return [context](Text description) {
        if (description)
            context.later([description](Page& page) { setDescription(page, *description); });
    };
}

std::function<void(URLs)> screenshotsTo(const Context& context) {
    return [context](URLs addresses) {
        context.later([addresses = std::move(addresses)](Page& page) mutable {
            PackageDepictions::applyScreenshots(page, std::move(addresses));
        });
    };
}

void externalChangelog(const Context& context, std::shared_ptr<const KSSileoDepiction> depiction) {
    depiction->retrieveExternalChangelogFromSileoDepiction([context](Text address) {
        if (!address) {
            context.later(setNoChangelog);
            return;
        }
        KSExternalChangelog::retrieve(*address, changelogTo(context, false));
    });
}

void applySileo(const Context& context, bool bannerCached,
                std::shared_ptr<const KSSileoDepiction> depiction) {
    if (!bannerCached)
        depiction->retrieveBannerURLFromSileoDepiction([context](Text address) {
            context.later([address](Page& page) {
                if (address)
                    PackageBanner::fetch(page, *address);
                else
                    ScrollViewInteractiveHeader::removeHeaderView(*page.scrollView);
            });
        });
    depiction->retrieveChangelogFromSileoDepiction([context, depiction](Text changelog) {
        if (changelog)
            changelogTo(context, true)(changelog);
        else
            externalChangelog(context, depiction);
    });
    depiction->retrieveDescriptionFromSileoDepiction(descriptionTo(context));
    context.later([](Page& page) { page.updateGetButtonTitle(); });
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

// The stored labels come back; nothing more will come.
void scrapedPageMissing(Page& page) {
    page.getPackageInformation();
    endWait(page);
}

}  // namespace

bool PackageDepictions::read(Page& page) {
    if (!PackageContentLayout::depictionExpected(page))
        return false;
    if (!text(page.packageDictionary(), "sileoDepiction").empty())
        getSileoDepiction(page);
    else
        getHtmlPageForCydiaPackage(page);
    return true;
}

void PackageDepictions::getSileoDepiction(Page& page) {
    const Context context = contextOf(page);
    const bool bannerCached = page.bannerCached;
    auto url = KSFetchableURL::fromString(text(page.packageDictionary(), "sileoDepiction"));
    if (!url) {
        KSLog("Error : %@",
              "the native depiction of " + context.identifier + " is no http or https address");
        getHtmlPageForCydiaPackage(page);
        return;
    }
    foundation::URLRequest request(*url);
    request.cachePolicy = foundation::URLRequestCachePolicy::ReloadIgnoringLocalCacheData;
    KSDepictionPageLoader::load(
        std::move(request), [context, bannerCached](std::optional<foundation::Bytes> body) {
            if (!body) {
                context.later(getHtmlPageForCydiaPackage);
                return;
            }
            applySileo(context, bannerCached,
                       KSDepictionsParser::instance().depictionsParserWithSileoData(*body));
        });
}

void PackageDepictions::getHtmlPageForCydiaPackage(Page& page) {
    const Context context = contextOf(page);
    const Family family = familyOf(context.sourceLocation);
    auto url = family == Family::none ? std::nullopt : pageURL(family, context);
    if (!url) {
        if (family == Family::none)
            endWait(page);
        else
            scrapedPageMissing(page);
        return;
    }
    KSDepictionPageLoader::load(
        RepositoryRequest::requestForPageOfRepository(*url, context.sourceLocation),
        [context, family](std::optional<foundation::Bytes> body) {
            if (!body) {
                context.later(scrapedPageMissing);
                return;
            }
            applyScraped(family, context,
                         KSDepictionsParser::instance().depictionsParserWithData(*body));
        });
}

void PackageDepictions::applyScreenshots(Page& page, std::vector<std::string> addresses) {
    const bool holdsNone =
        page.screenshotsDictionary.empty() &&
        PackageSnapshot::field(page.packageDictionary(), "screenshotsLocalPaths").count() == 0;
    if (holdsNone && PackageScreenshots::replace(page, std::move(addresses)))
        return;
    page.screenshotRetrievingFail = false;
    endWait(page);
}

}  // namespace corvane
