#include "FileManager.h"

#include "FileAccessLog.h"
#include "ReadLimits.h"
#include "VolumeMap.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <string>

namespace docshelf::foundation {

namespace {

// A path with a NUL byte in it names nothing: the system would read a shorter one.
bool usablePath(const Value& path) {
    return path.isString() && !path.text().empty() && path.text().find('\0') == std::string_view::npos;
}

}

Value FileManager::contentsOfDirectoryAtPath(const Value& path) {
    if (!usablePath(path))
        return {};
    const std::string where = VolumeMap::whereToRead(path.text());
    FileAccessLog::note(FileAccessLog::Access::List, where);
    std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(where.c_str()), closedir);
    if (!directory)
        return {};
    std::vector<Value> names;
    while (dirent* entry = readdir(directory.get())) {
        std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (names.size() == ReadLimits::maximumDirectoryEntries)
            return {};
        names.emplace_back(name);
    }
    return Value::array(std::move(names));
}

bool FileManager::fileExistsAtPath(const Value& path) {
    bool ignored = false;
    return fileExistsAtPath(path, ignored);
}

bool FileManager::fileExistsAtPath(const Value& path, bool& isDirectory) {
    isDirectory = false;
    if (!usablePath(path))
        return false;
    const std::string where = VolumeMap::whereToRead(path.text());
    FileAccessLog::note(FileAccessLog::Access::Test, where);
    struct stat info {};
    if (stat(where.c_str(), &info) != 0)
        return false;
    isDirectory = S_ISDIR(info.st_mode);
    return true;
}

}
