#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace docshelf::press {

// Whole-tree operations on folders, each reporting its first failure as one
// line that names the path.
class FileTree {
public:
    // Copies the folder's contents into `to` (made if missing); a link is
    // copied as the file or folder it names, since a disc holds no links.
    static bool copy(const std::filesystem::path& from, const std::filesystem::path& to, std::string& error);
    // Removes the tree, folders made read-only (as extracted images are) included.
    static void remove(const std::filesystem::path& root);
    // The paths under the root, relative and sorted, folders ending in "/".
    static std::vector<std::string> list(const std::filesystem::path& root);
    static bool isExecutable(const std::filesystem::path& file);
};

}
