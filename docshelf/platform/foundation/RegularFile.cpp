#include "RegularFile.h"

#include "FileAccessLog.h"
#include "VolumeMap.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

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
    void reset(int fd) {
        if (fd_ >= 0)
            close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

// Opens a regular file for reading, or says why not; info is its status.
// A /Volumes/NAME path is read where that volume lies (VolumeMap).
std::optional<std::string> openRegular(const std::string& named, Descriptor& file, struct stat& info) {
    if (named.empty() || named.find('\0') != std::string::npos)
        return "no file named";
    const std::string path = VolumeMap::whereToRead(named);
    FileAccessLog::note(FileAccessLog::Access::Read, path);
    // Non-blocking, so that opening a named pipe without a writer returns at once.
    file.reset(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        return "cannot open " + path;
    if (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return path + " is not a regular file";
    return std::nullopt;
}

}

RegularFileResult RegularFile::readPart(const std::string& path, std::uint64_t offset, std::size_t size) {
    Descriptor file(-1);
    struct stat info {};
    if (auto problem = openRegular(path, file, info))
        return {{std::move(*problem)}, std::nullopt};
    auto length = static_cast<std::uint64_t>(info.st_size);
    std::vector<std::uint8_t> bytes(
        offset >= length ? 0 : static_cast<std::size_t>(std::min<std::uint64_t>(size, length - offset)));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        ssize_t count =
            pread(file.get(), bytes.data() + filled, bytes.size() - filled, static_cast<off_t>(offset + filled));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return {{"cannot read " + path}, std::nullopt};
        if (count == 0)
            break;
        filled += static_cast<std::size_t>(count);
    }
    bytes.resize(filled);
    return {{}, std::move(bytes)};
}

RegularFileResult RegularFile::read(const std::string& path, std::size_t maximumSize) {
    Descriptor file(-1);
    struct stat info {};
    if (auto problem = openRegular(path, file, info))
        return {{std::move(*problem)}, std::nullopt};
    if (static_cast<std::uint64_t>(info.st_size) > maximumSize)
        return {{path + " is larger than " + std::to_string(maximumSize) + " bytes"}, std::nullopt};

    // The file may grow while it is read: one byte past the limit is enough to tell.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > maximumSize)
                return {{path + " is larger than " + std::to_string(maximumSize) + " bytes"}, std::nullopt};
            bytes.resize(std::min(maximumSize + 1, bytes.size() * 2));
        }
        ssize_t count = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return {{"cannot read " + path}, std::nullopt};
        if (count == 0)
            break;
        filled += static_cast<std::size_t>(count);
    }
    bytes.resize(filled);
    return {{}, std::move(bytes)};
}
}
