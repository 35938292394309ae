#pragma once

#include "ReadOutcome.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace docshelf::foundation {

struct RegularFileResult : ReadOutcome {
    std::optional<std::vector<std::uint8_t>> bytes; // nullopt when the file reads as absent
};

// Reads a whole regular file, at most maximumSize bytes. Anything else at the
// path reads as absent at once, without waiting: a named pipe, a device (such
// as /dev/zero), a socket or a directory. The kind is checked on the opened
// descriptor (opened non-blocking), so the path cannot change between the test
// and the read. A file larger than maximumSize is absent, checked before reading.
class RegularFile {
public:
    static RegularFileResult read(const std::string& path, std::size_t maximumSize);
    // Up to `size` bytes from `offset` of a regular file of any size (fewer where
    // the file ends), opened and checked as read() does: for headers, and the
    // one part of a large file that is needed.
    static RegularFileResult readPart(const std::string& path, std::uint64_t offset, std::size_t size);
};

}
