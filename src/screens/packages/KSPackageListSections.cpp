#include "screens/packages/KSPackageListSections.h"

#include <algorithm>

#include "foundation/DateFormatter.h"
#include "foundation/Strings.h"

namespace corvane {

namespace {

constexpr const char* kDateTitleFormat = "dd-MM-yyyy HH:mm:ss";

bool isDateCriterion(const std::string& criterion) {
    return criterion == "installDate" || criterion == "initialDate";
}

bool isPlainCriterion(const std::string& criterion) {
    return criterion == "category" || criterion == "maintainer" || criterion == "sourceLocation";
}

bool isPlainAscii(unsigned char byte) {
    return byte < 0x80 && byte != '\r';
}

}  // namespace

// Collects rows under their keys in the order the keys are first met.
class KSPackageListSections::Builder {
  public:
    explicit Builder(KSPackageListSections& sections) : sections_(sections) {}

    void append(const std::string& key, std::string identifier) {
        if (!rows_ || key != lastKey_) {
            auto [entry, isNew] = sections_.sectionsDictionary_.try_emplace(key);
            if (isNew)
                sections_.sections_.push_back(key);
            rows_ = &entry->second;
            lastKey_ = key;
        }
        rows_->push_back(std::move(identifier));
    }

  private:
    KSPackageListSections& sections_;
    // Rows of one key mostly come one after another.
    std::vector<std::string>* rows_ = nullptr;
    std::string lastKey_;
};

KSPackageListSections KSPackageListSections::sectionsForSortCriteria(
    const store::Results<KSRPackage>& packages, const std::string& criterion) {
    KSPackageListSections sections;
    const bool byName = criterion == "name";
    const bool byDate = isDateCriterion(criterion);
    if (!byName && !byDate && !isPlainCriterion(criterion))
        return sections;
    std::optional<foundation::DateFormatter> dateTitles;
    if (byDate)
        dateTitles = foundation::DateFormatter::withFormat(kDateTitleFormat);
    Builder builder(sections);
    packages.enumerateValuesForKeyPaths(
        {"identifier", criterion}, [&](const std::vector<foundation::Value>& values) {
            std::optional<std::string> key;
            if (byName)
                key = nameKey(values[1]);
            else if (byDate)
                // No date counts as the first second of 1970.
                key = dateTitles->stringFromDate(values[1].doubleValue());
            else
                key = values[1].optionalString();
            if (key)
                builder.append(*key, *values[0].string());
        });
    if (byDate)
        std::reverse(sections.sections_.begin(), sections.sections_.end());
    if (byName)
        sections.indexTitles_ = sections.sections_;
    return sections;
}

KSPackageListSections KSPackageListSections::byDate(KSRPackages::NewPackagesByDate newPackages) {
    KSPackageListSections sections;
    sections.sections_ = std::move(newPackages.dates);
    sections.sectionsDictionary_ = std::move(newPackages.packages);
    return sections;
}

std::optional<std::string> KSPackageListSections::titleForSection(std::size_t section) const {
    if (sections_.empty())
        return std::nullopt;
    return sections_[std::min(section, sections_.size() - 1)];
}

const std::vector<std::string>& KSPackageListSections::rowsInSection(std::size_t section) const {
    static const std::vector<std::string> none;
    const auto title = titleForSection(section);
    if (!title)
        return none;
    const auto rows = sectionsDictionary_.find(*title);
    return rows == sectionsDictionary_.end() ? none : rows->second;
}

std::optional<std::string> KSPackageListSections::identifierAt(std::size_t section,
                                                               std::size_t row) const {
    const auto& rows = rowsInSection(section);
    if (row >= rows.size())
        return std::nullopt;
    return rows[row];
}

std::optional<std::string> KSPackageListSections::nameKey(const foundation::Value& name) {
    const auto* text = name.string();
    if (!text || text->empty())
        return std::nullopt;
    // A plain ASCII character followed by another (or by nothing) is a character of its own;
    // anything else may join what follows it (accents, emoji sequences) and takes the full rules.
    const auto first = static_cast<unsigned char>((*text)[0]);
    if (isPlainAscii(first) &&
        (text->size() == 1 || isPlainAscii(static_cast<unsigned char>((*text)[1]))))
        return std::string(1, first >= 'a' && first <= 'z' ? static_cast<char>(first - 'a' + 'A')
                                                           : static_cast<char>(first));
    return foundation::capitalized(foundation::firstCharacter(*text));
}

}  // namespace corvane
