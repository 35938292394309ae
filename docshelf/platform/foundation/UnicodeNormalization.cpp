#include "UnicodeNormalization.h"

#include <unicode/unorm2.h>
#include <unicode/ustring.h>

namespace docshelf::foundation {

namespace {

std::string normalized(std::string_view text, const UNormalizer2* (*instance)(UErrorCode*)) {
    std::string original(text);
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* form = instance(&status);
    const auto size = static_cast<int32_t>(text.size());
    int32_t length = 0;
    u_strFromUTF8(nullptr, 0, &length, text.data(), size, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status))
        return original;
    status = U_ZERO_ERROR;
    std::u16string wide(static_cast<std::size_t>(length), u'\0');
    u_strFromUTF8(wide.data(), length, nullptr, text.data(), size, &status);
    // Normalization makes a text at most a few times longer.
    std::u16string out(wide.size() * 4 + 16, u'\0');
    int32_t made = unorm2_normalize(form, wide.data(), length, out.data(), static_cast<int32_t>(out.size()), &status);
    if (U_FAILURE(status))
        return original;
    std::string utf8(static_cast<std::size_t>(made) * 3, '\0');
    int32_t bytes = 0;
    u_strToUTF8(utf8.data(), static_cast<int32_t>(utf8.size()), &bytes, out.data(), made, &status);
    if (U_FAILURE(status))
        return original;
    utf8.resize(static_cast<std::size_t>(bytes));
    return utf8;
}

}

std::string UnicodeNormalization::composed(std::string_view text) {
    return normalized(text, unorm2_getNFCInstance);
}

std::string UnicodeNormalization::decomposed(std::string_view text) {
    return normalized(text, unorm2_getNFDInstance);
}

}
