#include "framework/webservice/KSReviews.h"

#include "framework/webservice/KSWebServiceFields.h"

namespace corvane {

std::optional<KSReviews> KSReviews::fromJSON(const foundation::Value& entry) {
    const auto& rating = entry["rating"];
    if (!entry.isDictionary() || !rating.isNumber() || rating.isBool() ||
        rating.doubleValue() < 1 || rating.doubleValue() > 5) {
        return std::nullopt;
    }
    KSReviews review;
    review.title = KSWebServiceFields::text(entry["title"]).value_or("");
    review.desc = KSWebServiceFields::text(entry["desc"]).value_or("");
    review.name = KSWebServiceFields::text(entry["name"]).value_or("");
    review.rating = static_cast<int>(rating.integerValue());
    review.upvotes = KSWebServiceFields::count(entry["upvotes"]);
    review.downvotes = KSWebServiceFields::count(entry["downvotes"]);
    review.reply = KSWebServiceFields::text(entry["reply"]);
    return review;
}

}  // namespace corvane
