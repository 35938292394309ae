#include "cli/InputFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace docshelf::cli {

foundation::RegularFileResult InputFile::read(const std::string& path, std::size_t maximumSize) {
    if (path != "-")
        return foundation::RegularFile::read(path, maximumSize);
    foundation::RegularFileResult result;
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    for (;;) {
        ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            result.error = std::string("standard input cannot be read: ") + std::strerror(errno);
            return result;
        }
        if (count == 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + count);
        if (bytes.size() > maximumSize) {
            result.error = "standard input holds more than " + std::to_string(maximumSize) + " bytes";
            return result;
        }
    }
    result.bytes = std::move(bytes);
    return result;
}

}
