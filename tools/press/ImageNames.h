#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace docshelf::press {

// The rules for file names that every file system of the image holds as they
// are: Joliet (Windows) keeps at most 103 UTF-16 characters, HFS+ (the Mac) at
// most 255 once decomposed as it stores them, and HFS+ holds one name for
// names that differ only in letter case or Unicode normalization. Names are
// UTF-8 without control characters, so that each tree reads back as written.
// init asks these rules before a disc is kept, and image may ask them again.
class ImageNames {
public:
    static constexpr std::size_t maximumJolietName = 103;  // UTF-16 units
    static constexpr std::size_t maximumHfsPlusName = 255; // UTF-16 units, decomposed (NFD)

    // Why no image can hold a file of this name as it is ("it holds a line
    // break"), or empty when every tree can.
    static std::string fault(std::string_view name);
    // Whether the text holds a control character: C0 (NUL and line breaks
    // among them), DEL, C1, or the line and paragraph separators.
    static bool hasControl(std::string_view text);
    // Names that the Mac's volume holds as one have the same key: composed
    // (NFC) and case folded. Bytes that are not UTF-8 are their own key.
    static std::string sameNameKey(std::string_view name);
    // The name as a message shows it: in quotes, controls escaped ("\n",
    // "\x00"), and cut after 120 bytes.
    static std::string shown(std::string_view name);
    // The text with its controls and bytes that are not UTF-8 escaped, whole.
    static std::string escaped(std::string_view text);

    // Every name under `root` (the root's own excepted) that no image holds,
    // and every two names of one folder that the Mac's volume holds as one:
    // one line each, "PLACE: reason", PLACE being what `placeOf` gives for the
    // path relative to `root`. Linear in the names.
    static std::vector<std::string> faultsUnder(const std::string& root,
                                                const std::function<std::string(const std::string&)>& placeOf);
};

}
