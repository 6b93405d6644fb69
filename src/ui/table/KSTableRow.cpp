#include "ui/table/KSTableRow.h"

namespace corvane {

std::string KSTableRow::type() const {
    if (auto type = string("cellType"))
        return *type;
    if (row_.contains("header"))
        return "header";
    if (row_.contains("footer"))
        return "footer";
    return "cell";
}

std::string KSTableRow::reuseIdentifier() const {
    const std::string type = this->type();
    if (type == "picker")
        return type;
    return type + string("cellStyle").value_or("");
}

std::optional<std::string> KSTableRow::string(const std::string& key) const {
    return row_[key].optionalString();
}

std::vector<std::string> KSTableRow::strings(const std::string& key) const {
    std::vector<std::string> texts;
    for (const auto& entry : row_[key].array())
        if (const auto* text = entry.string())
            texts.push_back(*text);
    return texts;
}

}  // namespace corvane
