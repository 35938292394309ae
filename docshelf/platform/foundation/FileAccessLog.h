#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace docshelf::foundation {

// What the readers ask of the file system, in order, for the benchmarks'
// floor: the same files read and the same directories listed, nothing parsed.
// A log installed on a thread is told of every whole-file read, directory
// listing and existence test made on that thread; the programs install none,
// and then noting costs one test of a null pointer.
class FileAccessLog {
public:
    enum class Access { Read, List, Test };
    struct Entry {
        Access access;
        std::string path;
    };

    // Null stops logging.
    static void install(std::vector<Entry>* log);
    static void note(Access access, std::string_view path);
};

}
