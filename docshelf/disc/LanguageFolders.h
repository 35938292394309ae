#pragma once

#include "platform/foundation/Value.h"

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

namespace docshelf::disc {

// How the browser pairs Documentation.plist's languages with the language
// folders of a documentation directory (or the languages offered online).
class LanguageFolders {
public:
    // One pairing: a member of the folder information list and a name equal to its "Folder Name".
    struct Match {
        std::size_t memberIndex;
        foundation::Value member;
        foundation::Value name;
    };

    // The names of the directory's entries that are directories, in listing
    // order; none when it cannot be listed. The directory is listed once.
    static std::vector<foundation::Value> scan(const foundation::Value& directory);

    // For each member of the list, in its order, each of the names (in their
    // order) that equals the member's "Folder Name" exactly. A member listed
    // twice matches twice; a name no member bears matches nothing.
    static std::vector<Match> match(const foundation::Value& members, std::span<const foundation::Value> names);
};

}
