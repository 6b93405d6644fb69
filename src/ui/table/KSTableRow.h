#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Value.h"

namespace corvane {

// One row of a plist-driven table as its dictionary describes it. Wrong types read as absent:
// the description may come from a file that was edited by hand.
class KSTableRow {
  public:
    explicit KSTableRow(foundation::Value row) : row_(std::move(row)) {}

    // "cellType", else "header" for a row with "header", "footer" for one with "footer", else
    // "cell".
    std::string type() const;
    bool isHeader() const { return type() == "header"; }
    bool isFooter() const { return type() == "footer"; }
    bool isPicker() const { return type() == "picker"; }
    // The type followed by the "cellStyle" text; a picker row is always "picker", whatever style
    // it names, because only that identifier makes picker cells.
    std::string reuseIdentifier() const;

    const foundation::Value& value(const std::string& key) const { return row_[key]; }
    // The text under the key, or nothing when it is absent or no text.
    std::optional<std::string> string(const std::string& key) const;
    // The texts of an array; entries that are no text are skipped.
    std::vector<std::string> strings(const std::string& key) const;
    bool flag(const std::string& key) const { return row_[key].boolValue(); }
    // A row built from outside data ("literal" YES) shows its texts as they are: nothing in it
    // is looked up as a method or a translation.
    bool isLiteral() const { return flag("literal"); }

  private:
    // A copy (cheap: containers are shared), so that a row outlives a replaced description.
    foundation::Value row_;
};

}  // namespace corvane
