#include "store/TextFolding.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>

namespace store {

namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string foldAscii(std::string_view text, int options) {
    std::string out(text);
    if (options & TextFolding::kCase)
        for (char& c : out)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
    return out;
}

icu::UnicodeString withoutMarks(const icu::UnicodeString& text) {
    UErrorCode status = U_ZERO_ERROR;
    const auto* nfd = icu::Normalizer2::getNFDInstance(status);
    if (U_FAILURE(status))
        return text;
    auto decomposed = nfd->normalize(text, status);
    if (U_FAILURE(status))
        return text;
    icu::UnicodeString out;
    for (int32_t i = 0; i < decomposed.length();) {
        UChar32 c = decomposed.char32At(i);
        if (u_charType(c) != U_NON_SPACING_MARK)
            out.append(c);
        i += U16_LENGTH(c);
    }
    return out;
}

icu::UnicodeString composed(const icu::UnicodeString& text) {
    UErrorCode status = U_ZERO_ERROR;
    const auto* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status))
        return text;
    auto out = nfc->normalize(text, status);
    return U_FAILURE(status) ? text : out;
}

}  // namespace

std::string TextFolding::fold(std::string_view text, int options) {
    if (isAscii(text))
        return foldAscii(text, options);
    auto unicode = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    if (options & kDiacritics)
        unicode = withoutMarks(unicode);
    if (options & kCase)
        unicode.foldCase(U_FOLD_CASE_DEFAULT);
    std::string out;
    composed(unicode).toUTF8String(out);
    return out;
}

}  // namespace store
