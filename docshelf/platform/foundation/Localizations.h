#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace docshelf::foundation {

// How a bundle's localization folders are named and which one serves the user.
// Folders are named by language code ("de", "pt-BR", "pt_BR", "zh-Hans") or, on
// older discs, by English language name ("German", "Japanese"). Names compare
// without regard to letter case, and "-" and "_" alike.
class Localizations {
public:
    // The language code that a folder name stands for, in lower case with "-":
    // "German" gives "de", "pt_BR" gives "pt-br", an unknown name itself in lower case.
    static std::string canonicalCode(std::string_view name);

    // The localization to use among those available (folder names without ".lproj"):
    //   1. for each preferred language in order: a folder for exactly that language,
    //      then one for its language part ("de-AT" finds "de" or "German");
    //   2. then, the same way, the development region (which may be a legacy name);
    //   3. then English ("en" or "English").
    // Where two folders fit equally, one named by code wins over a legacy name, and
    // then the first by name. Nullopt when nothing fits.
    static std::optional<std::string> choose(const std::vector<std::string>& available,
                                             const std::vector<std::string>& preferred,
                                             std::string_view developmentRegion);

    // The folder for one language, exactly or by its language part, as in step 1.
    static std::optional<std::string> find(const std::vector<std::string>& available, std::string_view language);
};

}
