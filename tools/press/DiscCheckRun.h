#pragma once

#include "DiscSources.h"

#include "inspect/common/Findings.h"

#include <string>

namespace docshelf::press {

// Checks a disc folder whose property lists name /Volumes/NAME/... with the
// inspector's own check, in this process: the application bundle is the
// folder's `app`, the volume is read from the folder, the message bundle and
// the Windows folder are the folder's own. Each finding is placed where its
// author mends it, as `sources` says; what it says of the folder it says of
// `sources.disc()`.
class DiscCheckRun {
public:
    static inspect::Findings run(const std::string& folder, const std::string& app, const std::string& volume,
                                 const DiscSources& sources);
};

}
