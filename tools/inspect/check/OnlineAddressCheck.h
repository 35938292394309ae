#pragma once

#include "disc/Disc.h"
#include "inspect/common/Findings.h"

#include <string>
#include <vector>

namespace docshelf::inspect {

// The parts of the online addresses that the browser opens with "open":
// the "URL" must be a web address (else "open" takes it for a file), a model's
// "KPSID" must name it alone (an empty one, or one that another model shares,
// opens a page of no model or of the other), and a "Language" list names each
// language once (else it is offered twice).
class OnlineAddressCheck {
public:
    static void run(const disc::Disc& lists, const std::vector<std::string>& models, Findings& findings);
    // Whether "open" takes the text for a web address: "http://" or "https://"
    // first, in any letter case, and nothing that ends or splits an address, nor
    // a "#" that would make the appended query a fragment.
    static bool isWebAddress(std::string_view url);
};

}
