#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace docshelf::inspect {

// What a disc's users see of it, read through the browser's own catalogue code:
// each model's languages with where each opens (the document and read-me as
// their sizes and digests, or the online address), every localization's texts,
// and the Windows folder's files. Two views compare as the users would compare
// the discs. The main bundle and the volume mapping must already be the disc's.
class DiscView {
public:
    // {"models": {NAME: {"KPSID": ..., "languages": {DISPLAY: {"code", "document",
    //   "readme", "url"}}}}, "texts": {LPROJ: {"TABLE KEY": TEXT}}, "launchers": {FILE: DIGEST}}
    static nlohmann::ordered_json read(const std::optional<std::string>& messageBundle,
                                       const std::optional<std::string>& windows);

    // "1234 bytes, 5f0e..." for a regular file, null where there is none to open.
    static nlohmann::ordered_json fileDigest(const std::string& path);
};

}
