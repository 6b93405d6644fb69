#include "framework/storage/KSRPackageIndexPreparer.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <utility>

#include "foundation/Log.h"
#include "framework/debian/DebianGrammar.h"
#include "framework/debian/VersionCompare.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackageControlFields.h"

namespace corvane {

namespace {

// "yyyy-MM-dd HH:mm" in local time: only digits, which need no locale's formats.
std::string minuteText(double now) {
    const auto seconds = static_cast<std::time_t>(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    std::array<char, 32> text{};
    std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M", &local);
    return text.data();
}

bool isGreater(std::string_view version, const std::optional<std::string>& than) {
    return than && greaterThan(version, *than);
}

bool isGreater(const std::optional<std::string>& version, const std::optional<std::string>& than) {
    return version && than && greaterThan(*version, *than);
}

}  // namespace

KSRPackageIndexPreparer::KSRPackageIndexPreparer(std::string sourceLocation, double now,
                                                 KSRPackageIndexText& text)
    : realm_(KSDatabase::realm()),
      location_(std::move(sourceLocation)),
      now_(now),
      nowText_(minuteText(now)),
      text_(text) {}

KSRPackageIndexBatch KSRPackageIndexPreparer::nextBatch() {
    if (!std::exchange(started_, true))
        readStoredVersions();
    KSRPackageIndexBatch batch;
    dropReadPieces();
    batch.last = !readBatch(batch);
    if (batch.unreadable)
        return batch;
    readStoredPackages(batchIdentifiers());
    batch.changed.reserve(batchPackages_.size());
    for (auto* stanzas : batchPackages_) {
        if (auto prepared = prepare(*stanzas, batch); !prepared) {
            batch.unreadable = prepared.error();
            return batch;
        }
    }
    batchPackages_.clear();
    batchStanzas_.clear();
    batchFields_.clear();
    ownedValues_.clear();
    readAgainTexts_.clear();
    readAgainFields_.clear();
    ++batch_;
    if (batch.last) {
        summary_.stored = packages_.size();
        dropVanishedPackages(batch);
        batch.vanishedVersionKeys.assign(unlistedVersionKeys_.begin(), unlistedVersionKeys_.end());
        batch.summary = std::move(summary_);
    }
    return batch;
}

bool KSRPackageIndexPreparer::readBatch(KSRPackageIndexBatch& batch) {
    while (batchPackages_.size() < kBatchSize) {
        if (const auto stanza = reader_ ? reader_->next() : std::nullopt) {
            addStanza(*stanza);
            continue;
        }
        auto piece = text_.nextPiece();
        if (!piece)
            batch.unreadable = piece.error();
        if (!piece || !*piece)
            return false;
        if (!pieces_.empty())
            pieceOffset_ += pieces_.back().size();
        reader_.emplace(pieces_.emplace_back(std::move(**piece)));
    }
    return true;
}

void KSRPackageIndexPreparer::dropReadPieces() {
    while (pieces_.size() > 1)
        pieces_.pop_front();
}

void KSRPackageIndexPreparer::addStanza(const ControlStanza& stanza) {
    const auto* package = stanza.field("Package");
    const auto identifier = valueOf(package);
    const auto version = valueOf(stanza.field("Version"));
    if (!isValid(stanza, package ? std::optional(identifier) : std::nullopt, version))
        return;
    const IndexEntry entry{offsetOf(stanza), std::uint32_t(stanza.text().size()), batch_};
    auto found = packages_.find(identifier);
    if (found == packages_.end()) {
        found = packages_.emplace(keptName(identifier), PackageStanzas{entry}).first;
    } else if (found->second.more == PackageStanzas::kNoMore) {
        found->second.more = std::uint32_t(moreEntries_.size());
        moreEntries_.push_back({entry});
    } else {
        moreEntries_[found->second.more].push_back(entry);
    }
    auto& stanzas = found->second;
    batchStanzas_.push_back(
        {entry.offset, stanza.text(), batchFields_.size(), stanza.fields().size()});
    batchFields_.insert(batchFields_.end(), stanza.fields().begin(), stanza.fields().end());
    if (std::exchange(stanzas.batch, batch_) != batch_)
        batchPackages_.push_back(&*found);
}

std::string_view KSRPackageIndexPreparer::keptName(std::string_view name) {
    constexpr std::size_t kBlockSize = std::size_t{64} << 10;
    if (names_.empty() || names_.back().capacity() - names_.back().size() < name.size())
        names_.emplace_back().reserve(std::max(kBlockSize, name.size()));
    auto& block = names_.back();
    block.append(name);
    return std::string_view(block).substr(block.size() - name.size());
}

std::uint64_t KSRPackageIndexPreparer::offsetOf(const ControlStanza& stanza) const {
    return pieceOffset_ + std::uint64_t(stanza.text().data() - pieces_.back().data());
}

std::string_view KSRPackageIndexPreparer::valueOf(const ControlStanza::Field* field) {
    if (!field)
        return {};
    if (!field->continues())
        return field->text;
    return ownedValues_.emplace_back(field->value());
}

bool KSRPackageIndexPreparer::isValid(const ControlStanza& stanza,
                                      std::optional<std::string_view> identifier,
                                      std::string_view version) {
    if (!identifier) {
        KSLog("Refusing a stanza of %@ without a Package field", location_);
    } else if (!isValidPackageName(*identifier)) {
        KSLog("Refusing the package \"%@\" of %@: not a valid package name", *identifier,
              location_);
    } else if (!isValidDebianVersion(version)) {
        KSLog("Refusing version \"%@\" of %@ from %@: not a valid version", version, *identifier,
              location_);
    } else {
        return true;
    }
    ++summary_.refused;
    summary_.refusedStanzas.push_back({offsetOf(stanza), stanza.text().size()});
    return false;
}

void KSRPackageIndexPreparer::readStoredVersions() {
    for (const auto& version :
         realm_.objectsWhere<KSRPackageVersion>("sourceLocation = %@", location_)) {
        unlistedVersionKeys_.insert(version.key);
        storedIdentifiers_.insert(version.identifier);
    }
    firstImport_ = unlistedVersionKeys_.empty();
}

// Only the records of one batch at a time: a source's own records, read whole, take many times
// the memory of its index.
void KSRPackageIndexPreparer::readStoredPackages(const std::vector<std::string>& identifiers) {
    storedPackages_.clear();
    if (identifiers.empty())
        return;
    for (const auto& package : realm_.objectsWhere<KSRPackage>("identifier IN %@", identifiers))
        storedPackages_.emplace(package.identifier, package);
}

std::vector<std::string> KSRPackageIndexPreparer::batchIdentifiers() const {
    std::vector<std::string> identifiers;
    identifiers.reserve(batchPackages_.size());
    for (const auto* stanzas : batchPackages_)
        identifiers.emplace_back(stanzas->first);
    return identifiers;
}

foundation::Status KSRPackageIndexPreparer::prepare(Packages::value_type& stanzas,
                                                    KSRPackageIndexBatch& batch) {
    const auto& [identifier, package] = stanzas;
    auto read = stanzasOf(entriesOf(package));
    FOUNDATION_RETURN_IF_ERROR(read);
    const auto* stored = storedPackage(identifier);
    auto built = buildPackage(identifier, *read, stored);
    for (const auto& version : built.availableVersions)
        if (version.sourceLocation == location_)
            unlistedVersionKeys_.erase(version.key);
    keepIfChanged(std::move(built),
                  std::exchange(stanzas.second.handedOver, true) ? nullptr : stored, batch);
    return foundation::Success{};
}

std::vector<KSRPackageIndexPreparer::IndexEntry> KSRPackageIndexPreparer::entriesOf(
    const PackageStanzas& package) const {
    std::vector<IndexEntry> entries{package.first};
    if (package.more != PackageStanzas::kNoMore)
        entries.insert(entries.end(), moreEntries_[package.more].begin(),
                       moreEntries_[package.more].end());
    return entries;
}

// A stanza of the batch being prepared was read moments ago; one of an earlier batch (a package
// spread over the index) is read again, as keeping every stanza would cost more memory than
// reading a few twice costs time.
foundation::Result<std::vector<KSRPackageIndexPreparer::Stanza>> KSRPackageIndexPreparer::stanzasOf(
    const std::vector<IndexEntry>& entries) {
    std::vector<Stanza> stanzas;
    stanzas.reserve(entries.size());
    for (const auto& entry : entries) {
        if (entry.batch == batch_) {
            const auto& read =
                *std::ranges::lower_bound(batchStanzas_, entry.offset, {}, &BatchStanza::offset);
            stanzas.push_back(stanzaOf(ControlStanza(
                read.text, std::span(batchFields_).subspan(read.firstField, read.fieldCount))));
            continue;
        }
        auto again = readAgain(entry);
        FOUNDATION_RETURN_IF_ERROR(again);
        stanzas.push_back(*again);
    }
    return stanzas;
}

foundation::Result<KSRPackageIndexPreparer::Stanza> KSRPackageIndexPreparer::readAgain(
    const IndexEntry& entry) {
    auto text = text_.textAt(entry.offset, entry.length);
    FOUNDATION_RETURN_IF_ERROR(text);
    const bool whole = text->size() == entry.length;
    StanzaReader reader(readAgainTexts_.emplace_back(std::move(*text)));
    const auto stanza = reader.next();
    if (!whole || !stanza)
        return foundation::Error::make(KSRPackageIndexText::kErrorDomain,
                                       KSRPackageIndexText::kChanged,
                                       "The index changed while it was being stored.");
    auto& fields = readAgainFields_.emplace_back(stanza->fields().begin(), stanza->fields().end());
    return stanzaOf(ControlStanza(stanza->text(), fields));
}

KSRPackageIndexPreparer::Stanza KSRPackageIndexPreparer::stanzaOf(const ControlStanza& fields) {
    const auto* filename = fields.field("Filename");
    return {fields, valueOf(fields.field("Version")),
            filename ? std::optional(valueOf(filename)) : std::nullopt};
}

KSRPackage KSRPackageIndexPreparer::buildPackage(std::string_view identifier,
                                                 const std::vector<Stanza>& stanzas,
                                                 const KSRPackage* stored) const {
    KSRPackage package = stored ? *stored : KSRPackage{};
    package.identifier = identifier;
    const auto previousVersion = package.version;
    const auto previousSource = package.sourceLocation;
    const auto& newest = *std::ranges::max_element(stanzas, [](const auto& a, const auto& b) {
        return compareVersions(a.version, b.version) < 0;
    });
    if (!stored || !previousSource || *previousSource == location_ ||
        isGreater(newest.version, previousVersion)) {
        KSRPackageControlFields::apply(newest.fields, package);
        package.sourceLocation = location_;
    }
    replaceOwnVersions(package, stanzas);
    takeGreatestVersion(package);
    if (!stored) {
        package.initialDate = now_;
        if (!firstImport_)
            package.updatedDateStr = nowText_;
    } else if (previousSource && isGreater(package.version, previousVersion)) {
        package.hasNewVersion = true;
        package.updatedDateStr = nowText_;
    }
    if (package.isInstalled)
        package.isUpdated = isGreater(package.version, package.installedVersion);
    return package;
}

void KSRPackageIndexPreparer::replaceOwnVersions(KSRPackage& package,
                                                 const std::vector<Stanza>& stanzas) const {
    auto& versions = package.availableVersions;
    std::erase_if(versions, [&](const KSRPackageVersion& version) {
        return version.sourceLocation == location_;
    });
    for (const auto& stanza : stanzas) {
        std::string version(stanza.version);
        auto key = KSRPackageVersion::makeKey(package.identifier, version, location_);
        if (std::ranges::find(versions, key, &KSRPackageVersion::key) != versions.end())
            continue;
        versions.push_back(
            {std::move(key), package.identifier, std::move(version), location_,
             stanza.filename ? std::optional<std::string>(*stanza.filename) : std::nullopt});
    }
    std::ranges::stable_sort(versions, [](const KSRPackageVersion& a, const KSRPackageVersion& b) {
        return compareVersions(a.version, b.version) > 0;
    });
}

const KSRPackage* KSRPackageIndexPreparer::storedPackage(std::string_view identifier) const {
    const auto found = storedPackages_.find(identifier);
    return found == storedPackages_.end() ? nullptr : &found->second;
}

void KSRPackageIndexPreparer::takeGreatestVersion(KSRPackage& package) const {
    if (package.availableVersions.empty())
        return;
    const auto& greatest = package.availableVersions.front();
    if (package.version && !greaterThan(greatest.version, *package.version))
        return;
    package.version = greatest.version;
    package.sourceLocation = greatest.sourceLocation;
    package.filename = greatest.filename;
}

void KSRPackageIndexPreparer::dropVanishedPackages(KSRPackageIndexBatch& batch) {
    std::vector<std::string> vanished;
    for (const auto& identifier : storedIdentifiers_) {
        if (!packages_.contains(identifier))
            vanished.push_back(identifier);
    }
    for (std::size_t from = 0; from < vanished.size(); from += kBatchSize) {
        const auto to = std::min(vanished.size(), from + kBatchSize);
        readStoredPackages({vanished.begin() + from, vanished.begin() + to});
        for (const auto& [identifier, stored] : storedPackages_)
            dropPackage(stored, batch);
    }
    storedPackages_.clear();
}

void KSRPackageIndexPreparer::dropPackage(const KSRPackage& stored, KSRPackageIndexBatch& batch) {
    KSRPackage package = stored;
    std::erase_if(package.availableVersions, [&](const KSRPackageVersion& version) {
        return version.sourceLocation == location_;
    });
    if (package.sourceLocation == location_) {
        if (!package.availableVersions.empty()) {
            package.version.reset();
            takeGreatestVersion(package);
        } else if (package.isInstalled) {
            // Only dpkg knows it now: no repository offers another version.
            package.sourceLocation.reset();
            package.version = package.installedVersion;
            package.filename.reset();
        } else {
            batch.deleted.push_back(std::move(package));
            ++summary_.removed;
            return;
        }
    }
    if (package.isInstalled)
        package.isUpdated = isGreater(package.version, package.installedVersion);
    keepIfChanged(std::move(package), &stored, batch);
}

// A refresh of an unchanged index rewrites nothing: most records come out as they were stored.
void KSRPackageIndexPreparer::keepIfChanged(KSRPackage package, const KSRPackage* stored,
                                            KSRPackageIndexBatch& batch) {
    if (!stored || !KSRPackage::schema().equal(package, *stored))
        batch.changed.push_back(std::move(package));
}

}  // namespace corvane
