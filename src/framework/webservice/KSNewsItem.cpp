#include "framework/webservice/KSNewsItem.h"

#include "framework/webservice/KSWebServiceFields.h"

namespace corvane {

std::optional<KSNewsItem> KSNewsItem::fromJSON(const foundation::Value& entry) {
    auto title = KSWebServiceFields::text(entry["title"]);
    if (!title) {
        return std::nullopt;
    }
    KSNewsItem item;
    item.identifier = KSWebServiceFields::textOrNumber(entry["id"]).value_or("");
    item.title = std::move(*title);
    item.body = KSWebServiceFields::text(entry["body"]).value_or("");
    item.date = KSWebServiceFields::text(entry["date"]);
    item.url = KSWebServiceFields::webAddress(entry["url"]);
    return item;
}

}  // namespace corvane
