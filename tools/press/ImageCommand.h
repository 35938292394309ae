#pragma once

#include "Reporter.h"

#include <chrono>
#include <string>

namespace docshelf::press {

struct ImageOptions {
    std::string disc;                // the disc folder; its name is the volume name
    std::string image;               // the image file to write
    bool force = false;              // pressed even when the check finds errors
    bool replace = false;            // an existing image is replaced
    std::chrono::seconds limit{600}; // for each outside program
};

// Presses a disc folder into a hybrid image with xorriso: ISO 9660 with Joliet
// names for Windows and Rock Ridge for Linux, HFS+ for the Mac, all named as
// the disc. Before the image is moved into place it is read back with readers
// other than the writer (xorriso's extraction of the Rock Ridge and Joliet
// trees, 7-Zip's of the HFS+ tree), every file compared with the folder, and
// the Mac's tree checked by the inspector as the mounted disc.
class ImageCommand {
public:
    static int run(const ImageOptions& options, const Reporter& reporter);
};

}
