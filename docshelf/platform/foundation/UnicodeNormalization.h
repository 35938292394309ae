#pragma once

#include <string>
#include <string_view>

namespace docshelf::foundation {

// Names that look the same but are stored differently: "é" as one code point
// (composed, NFC, as most systems write it) or as "e" and a combining accent
// (decomposed, NFD, as HFS+ stores every name). Text that is not UTF-8 is
// returned as it is.
class UnicodeNormalization {
public:
    static std::string composed(std::string_view text);
    static std::string decomposed(std::string_view text);
    // Whether the two are the same text however each was stored.
    static bool equivalent(std::string_view one, std::string_view other) {
        return one == other || composed(one) == composed(other);
    }
};

}
