#pragma once

#include "Value.h"

namespace docshelf::foundation {

// Questions about the file system, asked afresh on every call.
class FileManager {
public:
    // The names of a directory's entries, without "." and "..", in the order the
    // system lists them; absent when the path is absent or cannot be listed, and
    // when the directory holds more than ReadLimits::maximumDirectoryEntries.
    static Value contentsOfDirectoryAtPath(const Value& path);
    // Whether anything exists at the path, symbolic links followed to their target.
    static bool fileExistsAtPath(const Value& path);
    static bool fileExistsAtPath(const Value& path, bool& isDirectory);
};

}
