#include "FileTree.h"

#include <algorithm>
#include <system_error>

namespace docshelf::press {

namespace fs = std::filesystem;

bool FileTree::copy(const fs::path& from, const fs::path& to, std::string& error) {
    std::error_code code;
    fs::create_directories(to, code);
    if (code) {
        error = to.string() + ": " + code.message();
        return false;
    }
    fs::copy(from, to, fs::copy_options::recursive, code);
    if (code) {
        error = "copying " + from.string() + " to " + to.string() + ": " + code.message();
        return false;
    }
    return true;
}

void FileTree::remove(const fs::path& root) {
    std::error_code code;
    if (!fs::exists(fs::symlink_status(root, code)))
        return;
    if (fs::is_directory(fs::symlink_status(root, code))) {
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, code);
        for (auto it = fs::recursive_directory_iterator(root, code); !code && it != fs::recursive_directory_iterator();
             it.increment(code))
            if (it->is_directory(code) && !it->is_symlink(code))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, code);
    }
    fs::remove_all(root, code);
}

std::vector<std::string> FileTree::list(const fs::path& root) {
    std::vector<std::string> paths;
    std::error_code code;
    for (auto it = fs::recursive_directory_iterator(root, code); !code && it != fs::recursive_directory_iterator();
         it.increment(code)) {
        std::string relative = it->path().lexically_relative(root).string();
        paths.push_back(it->is_directory(code) ? relative + "/" : relative);
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool FileTree::isExecutable(const fs::path& file) {
    std::error_code code;
    auto permissions = fs::status(file, code).permissions();
    return !code && (permissions & fs::perms::owner_exec) != fs::perms::none;
}

}
