#include "screens/packages/PackageScreenshots.h"

#include <mutex>

#include "foundation/Dispatch.h"
#include "foundation/FileManager.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "framework/debian/DebianGrammar.h"
#include "framework/device/KSPaths.h"
#include "framework/network/KSImageFetcher.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "screens/packages/PackagePageModel.h"
#include "screens/packages/PackageScreenshotBatches.h"
#include "screens/packages/PackageSnapshot.h"
#include "store/StoreError.h"
#include "ui/extensions/ImageExtensions.h"

namespace corvane {

namespace {

using Images = std::vector<std::shared_ptr<uikit::Image>>;
using Outcome = PackageScreenshots::Outcome;
using Fetched = KSImageFetcher::Outcome;

// What one address gave, as the batch keeps it until its end: the image rounded for the strip
// and the bytes of its cache file, never the decoded download besides.
struct Shot {
    Fetched outcome = Fetched::definiteFailure;
    std::shared_ptr<uikit::Image> rounded;
    std::optional<foundation::Bytes> png;
};

// One download pass over a list of addresses.
struct Batch {
    std::weak_ptr<PackagePageModel> model;
    std::shared_ptr<PackageScreenshotBatches> batches;
    std::uint64_t number = 0;
    std::string identifier;
    std::vector<std::string> addresses;
    // The stored list the batch started from; it writes only over that.
    std::vector<std::string> expected;
    // An appearance's batch that ends with nothing stored asks the depiction again.
    bool fallsBackToDepiction = false;

    std::mutex mutex;
    std::vector<Shot> shots;
    std::size_t answered = 0;
};

std::shared_ptr<uikit::Image> rounded(const uikit::Image& image) {
    return makeRoundedImage(image, PackageScreenshots::kCornerRadius);
}

// The cached images, when every file is where the page put it and decodes.
std::optional<Images> readCache(const std::string& identifier,
                                const std::vector<std::string>& localPaths) {
    Images images;
    for (std::size_t index = 0; index < localPaths.size(); ++index) {
        const std::string expectedPath =
            PackageScreenshots::cachePath(identifier, static_cast<int>(index + 1));
        if (localPaths[index] != expectedPath) {
            KSLog("The cached screenshot %@ of %@ is not one the page wrote", localPaths[index],
                  identifier);
            return std::nullopt;
        }
        auto image = uikit::Image::fromFile(expectedPath);
        if (!image)
            return std::nullopt;
        images.push_back(rounded(*image));
    }
    return images;
}

// Writes the stored lists when the stored addresses are still the batch's starting point.
bool store(const Batch& batch, const std::vector<std::string>& addresses,
           const std::vector<std::string>& localPaths) {
    bool stored = false;
    try {
        auto realm = KSDatabase::realm();
        realm.write([&] {
            auto package = realm.objectForPrimaryKey<KSRPackage>(batch.identifier);
            if (!package || package->screenshots != batch.expected)
                return;
            package->screenshots = addresses;
            package->screenshotsLocalPaths = localPaths;
            realm.addOrUpdateObject(*package);
            stored = true;
        });
    } catch (const store::StoreError& error) {
        KSLog("The screenshots of %@ were not stored: %@", batch.identifier, error.what());
    }
    return stored;
}

// The batch's images numbered in address order, their files written; what failed for good is
// dropped from the addresses, what may pass stays for the next visit to try again.
Outcome finish(Batch& batch) {
    Outcome outcome;
    outcome.batch = batch.number;
    // A folder that cannot be made shows as the writes' failures below.
    (void)foundation::FileManager::createDirectory(KSPaths::screenshotsCacheDirectory());
    for (std::size_t index = 0; index < batch.addresses.size(); ++index) {
        Shot& shot = batch.shots[index];
        if (shot.outcome == Fetched::definiteFailure)
            continue;
        outcome.addresses.push_back(batch.addresses[index]);
        if (!shot.rounded)
            continue;
        // Numbered by the images that came, so the stored paths match the next visit's reading.
        const int number = static_cast<int>(outcome.images.size() + 1);
        outcome.images.push_back(std::move(shot.rounded));
        const std::string path = PackageScreenshots::cachePath(batch.identifier, number);
        const auto png = std::exchange(shot.png, std::nullopt);
        if (png && foundation::FileManager::writeAtomically(path, *png))
            outcome.localPaths.push_back(path);
        else
            KSLog("The screenshot %@ of %@ was not cached", path, batch.identifier);
    }
    outcome.stored = store(batch, outcome.addresses, outcome.localPaths);
    outcome.cleared = outcome.stored && outcome.addresses.empty();
    return outcome;
}

void apply(const std::weak_ptr<PackagePageModel>& weak,
           const std::shared_ptr<PackageScreenshotBatches>& batches, Outcome outcome,
           bool fallsBackToDepiction) {
    foundation::runOnMain([weak, batches, outcome = std::move(outcome), fallsBackToDepiction] {
        auto model = weak.lock();
        if (!model || !batches->isCurrent(outcome.batch))
            return;
        model->applyScreenshots(outcome, fallsBackToDepiction);
    });
}

Shot shotOf(KSImageFetcher::Result result) {
    Shot shot{result.outcome};
    if (result.image) {
        shot.rounded = rounded(*result.image);
        shot.png = result.image->pngData();
    }
    return shot;
}

void answered(const std::shared_ptr<Batch>& batch, std::size_t index,
              KSImageFetcher::Result result) {
    Shot shot = shotOf(std::move(result));
    {
        std::lock_guard lock(batch->mutex);
        batch->shots[index] = std::move(shot);
        if (++batch->answered < batch->addresses.size())
            return;
    }
    Outcome outcome;
    if (!batch->batches->endIfCurrent(batch->number, [&] { outcome = finish(*batch); }))
        return;
    apply(batch->model, batch->batches, std::move(outcome), batch->fallsBackToDepiction);
}

void download(const std::shared_ptr<Batch>& batch) {
    batch->shots.resize(batch->addresses.size());
    for (std::size_t index = 0; index < batch->addresses.size(); ++index)
        KSImageFetcher::fetch(batch->addresses[index],
                              [batch, index](KSImageFetcher::Result result) {
                                  answered(batch, index, std::move(result));
                              });
}

std::shared_ptr<Batch> makeBatch(const std::shared_ptr<PackagePageModel>& model,
                                 const std::shared_ptr<PackageScreenshotBatches>& batches,
                                 std::vector<std::string> addresses) {
    auto batch = std::make_shared<Batch>();
    batch->model = model;
    batch->batches = batches;
    batch->number = batch->batches->begin();
    batch->identifier = model->packageIdentifier();
    if (addresses.size() > PackageScreenshots::kMaximumScreenshots) {
        KSLog("%@ lists %lu screenshots; the %lu after the first %lu are left out",
              batch->identifier, addresses.size(),
              addresses.size() - PackageScreenshots::kMaximumScreenshots,
              PackageScreenshots::kMaximumScreenshots);
        addresses.resize(PackageScreenshots::kMaximumScreenshots);
    }
    batch->addresses = std::move(addresses);
    return batch;
}

std::vector<std::string> texts(const foundation::Value& list) {
    std::vector<std::string> values;
    for (const auto& entry : list.array())
        values.push_back(entry.stringValue());
    return values;
}

}  // namespace

std::string PackageScreenshots::cachePath(const std::string& identifier, int number) {
    return KSPaths::screenshotsCacheDirectory() + "/" +
           foundation::format("%@-%i", identifier, number) + ".png";
}

PackageScreenshots::PackageScreenshots(std::shared_ptr<PackagePageModel> model)
    : model_(std::move(model)), batches_(std::make_shared<PackageScreenshotBatches>()) {}

void PackageScreenshots::load() {
    const auto& package = model_->packageDictionary();
    auto addresses = texts(PackageSnapshot::field(package, "screenshots"));
    auto localPaths = texts(PackageSnapshot::field(package, "screenshotsLocalPaths"));
    if (addresses.empty() || !isValidPackageName(model_->packageIdentifier()))
        return;
    auto batch = makeBatch(model_, batches_, addresses);
    batch->expected = std::move(addresses);
    batch->fallsBackToDepiction = true;
    foundation::runOnDefaultQueue([batch, localPaths = std::move(localPaths)] {
        if (localPaths.size() == batch->addresses.size()) {
            if (auto images = readCache(batch->identifier, localPaths)) {
                Outcome outcome;
                outcome.batch = batch->number;
                outcome.images = std::move(*images);
                apply(batch->model, batch->batches, std::move(outcome), false);
                return;
            }
        }
        download(batch);
    });
}

bool PackageScreenshots::replace(std::vector<std::string> addresses) {
    if (addresses.empty() || !isValidPackageName(model_->packageIdentifier()))
        return false;
    auto batch = makeBatch(model_, batches_, std::move(addresses));
    foundation::runOnDefaultQueue([batch] {
        if (auto package = KSDatabase::realm().objectForPrimaryKey<KSRPackage>(batch->identifier))
            batch->expected = package->screenshots;
        download(batch);
    });
    return true;
}

}  // namespace corvane
