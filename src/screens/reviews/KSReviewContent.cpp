#include "screens/reviews/KSReviewContent.h"

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/Strings.h"

namespace corvane {

using uikit::AttributedString;
using uikit::Color;
using uikit::Font;
using uikit::TextAttributes;

std::string KSReviewContent::title(const KSReviews& review) {
    return foundation::capitalized(review.title);
}

AttributedString KSReviewContent::votes(const KSReviews& review) {
    AttributedString text(foundation::format("+%@ ", review.upvotes),
                          TextAttributes{.foregroundColor = Color(1, 0, 0, 1)});
    text.append(foundation::format("-%@", review.downvotes),
                TextAttributes{.foregroundColor = Color(0.46, 0.53, 1, 1)});
    return text;
}

AttributedString KSReviewContent::comment(const KSReviews& review,
                                          const std::optional<std::string>& maintainer) {
    const TextAttributes body{.font = Font::systemFont(kCommentFontSize)};
    if (!review.reply)
        return AttributedString(review.desc, body);
    AttributedString text(foundation::format(foundation::localized("Developer \"%@\" replied\n\n"),
                                             maintainer.value_or("")),
                          TextAttributes{.font = Font::italicSystemFont(kCommentFontSize)});
    text.append(review.desc, body);
    return text;
}

std::shared_ptr<uikit::Image> KSReviewContent::star(int index, int rating) {
    return uikit::Image::named(index < rating ? "starOtherUsers" : "star");
}

}  // namespace corvane
