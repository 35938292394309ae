#include "RegularFile.h"

#include "FileAccessLog.h"
#include "VolumeMap.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace docshelf::foundation {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

}

RegularFileResult RegularFile::read(const std::string& named, std::size_t maximumSize) {
    if (named.empty() || named.find('\0') != std::string::npos)
        return {std::nullopt, "no file named"};
    const std::string path = VolumeMap::whereToRead(named);
    FileAccessLog::note(FileAccessLog::Access::Read, path);
    // Non-blocking, so that opening a named pipe without a writer returns at once.
    Descriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        return {std::nullopt, "cannot open " + path};
    struct stat info {};
    if (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return {std::nullopt, path + " is not a regular file"};
    if (static_cast<std::uint64_t>(info.st_size) > maximumSize)
        return {std::nullopt, path + " is larger than " + std::to_string(maximumSize) + " bytes"};

    // The file may grow while it is read: one byte past the limit is enough to tell.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > maximumSize)
                return {std::nullopt, path + " is larger than " + std::to_string(maximumSize) + " bytes"};
            bytes.resize(std::min(maximumSize + 1, bytes.size() * 2));
        }
        ssize_t count = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return {std::nullopt, "cannot read " + path};
        if (count == 0)
            break;
        filled += static_cast<std::size_t>(count);
    }
    bytes.resize(filled);
    return {std::move(bytes), {}};
}

}
