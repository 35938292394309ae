#pragma once

#include "disc/Disc.h"
#include "inspect/common/Findings.h"

namespace docshelf::inspect {

// The languages of Documentation.plist as the window uses their names: the
// language pop-up shows each "Display Name", and a chosen language is looked up
// by that name alone, so two members of one name open the first one's
// documents, and an empty name is an item without a title. An empty
// "KPS Code" leaves the online address without its language.
class LanguageListCheck {
public:
    static void run(const disc::PropertyListFile& documentation, Findings& findings);
};

}
