#pragma once

#include "inspect/common/Findings.h"

#include <string>

namespace docshelf::inspect {

// Checks the application's own pictures as the browser reads them: the window's
// "Background.png" and the icon that Info.plist's "CFBundleIconFile" names. A
// picture that is there but that the browser refuses (not a regular file, past
// the picture limits, no PNG) is an error: the window shows white instead of its
// background, or goes without its icon. A picture that is not there is no finding.
class PictureCheck {
public:
    static void run(const std::string& app, Findings& findings);
};

}
