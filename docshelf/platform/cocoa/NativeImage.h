#pragma once

#import <AppKit/AppKit.h>

#include <string>

namespace docshelf::cocoa {

// Pictures for AppKit, read through our bounded reader and handed over as bytes
// (initWithData:), so that AppKit never opens a path of the disc itself.
class NativeImage {
public:
    // The picture in the file, kept for the process: the same path gives the same
    // object. Nil when the file is absent, larger than the reader's limit, or no
    // picture AppKit can decode.
    static NSImage* imageAtPath(const std::string& path);
};

}
