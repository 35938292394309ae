#pragma once

#include "disc/Disc.h"
#include "inspect/common/Findings.h"

#include <optional>
#include <string>

namespace docshelf::inspect {

// The browser reads its texts from one fixed place, the message bundle on the
// volume ZORVANE. A disc that mounts under another name shows every caption as
// its key. The lists' "/Volumes/NAME/..." paths say which name the disc is made
// for; a disc folder is pressed as a volume of its own name.
class VolumeNameCheck {
public:
    struct Input {
        const disc::Disc& lists;
        std::optional<std::string> discFolder; // the folder check was given, when it was
    };

    static void run(const Input& input, Findings& findings);

    // "/Volumes/ZORVANE": the volume of the browser's fixed text path.
    static std::string textVolume();
    // The first volume other than textVolume() that the lists' paths name
    // ("/Volumes/LXSERIES"), and the key path where it stands; nullopt when none.
    struct Named {
        std::string volume;
        Place location;
    };
    static std::optional<Named> otherVolume(const disc::Disc& lists);
};

}
