#include "FileSystemFloor.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

namespace docshelf::bench {

using foundation::FileAccessLog;

FileSystemFloor FileSystemFloor::of(const std::function<void()>& operation) {
    FileSystemFloor floor;
    FileAccessLog::install(&floor.log_);
    operation();
    FileAccessLog::install(nullptr);
    return floor;
}

void FileSystemFloor::replay() const {
    static std::vector<char> buffer(1 << 16);
    for (const auto& entry : log_) {
        switch (entry.access) {
        case FileAccessLog::Access::Read: {
            int fd = open(entry.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0)
                break;
            struct stat info {};
            fstat(fd, &info);
            while (read(fd, buffer.data(), buffer.size()) > 0) {
            }
            close(fd);
            break;
        }
        case FileAccessLog::Access::List: {
            DIR* directory = opendir(entry.path.c_str());
            if (!directory)
                break;
            std::size_t count = 0;
            while (readdir(directory))
                ++count;
            benchmark::DoNotOptimize(count);
            closedir(directory);
            break;
        }
        case FileAccessLog::Access::Test: {
            struct stat info {};
            benchmark::DoNotOptimize(stat(entry.path.c_str(), &info));
            break;
        }
        }
    }
}

}
