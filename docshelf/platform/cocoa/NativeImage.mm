#include "NativeImage.h"

#include "NativeNames.h"

#include "platform/foundation/ReadLimits.h"
#include "platform/foundation/RegularFile.h"

#include <map>

namespace docshelf::cocoa {

NSImage* NativeImage::imageAtPath(const std::string& path) {
    // Nil entries are kept too: a file that failed once is not read again.
    static std::map<std::string, NSImage*> images;
    if (auto found = images.find(path); found != images.end())
        return found->second;
    AutoreleasePool pool;
    NSImage* image = nil;
    auto file = foundation::RegularFile::read(path, foundation::ReadLimits::maximumFileSize);
    if (file.bytes && !file.bytes->empty()) {
        NSData* data = [NSData dataWithBytes:file.bytes->data() length:file.bytes->size()];
        image = [[NSImage alloc] initWithData:data];
        // A picture whose data AppKit could not decode has no representations.
        if (image && [[image representations] count] == 0) {
            [image release];
            image = nil;
        }
    }
    images.emplace(path, image);
    return image;
}

}
