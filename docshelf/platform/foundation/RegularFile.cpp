#include "RegularFile.h"

#include "FileAccessLog.h"

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

RegularFileResult RegularFile::read(const std::string& path, std::size_t maximumSize) {
    if (path.empty() || path.find('\0') != std::string::npos)
        return {{"no file named"}, std::nullopt};
    FileAccessLog::note(FileAccessLog::Access::Read, path);
    // Non-blocking, so that opening a named pipe without a writer returns at once.
    Descriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        return {{"cannot open " + path}, std::nullopt};
    struct stat info {};
    if (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return {{path + " is not a regular file"}, std::nullopt};
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
