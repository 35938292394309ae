#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace docshelf::press {

// Where copied files may come from: the folders the author named. A link is
// followed only to a file inside one of them, unless the author asked for
// links that lead outside to be copied as what they point to.
struct CopySources {
    std::vector<std::filesystem::path> roots;
    bool followOutside = false;
};

// Whole-tree operations on folders, each reporting its first failure as one
// line that names the file and the cause.
class FileTree {
public:
    // Copies a file, or a folder's contents, to `to` (folders made as needed).
    // A disc holds no links: a link is copied as the file or folder it names
    // when that lies inside the sources (or the author allowed outside links,
    // said in `warnings`). A FIFO, device, socket, dangling link or a link
    // loop is never copied.
    static bool copy(const std::filesystem::path& from, const std::filesystem::path& to, const CopySources& sources,
                     std::vector<std::string>& warnings, std::string& error);
    // The first link or special file under the root, as an error line; empty
    // when the tree holds only folders and regular files.
    static std::string firstNotPlain(const std::filesystem::path& root);
    // Whether `path` is `folder` or lies inside it, both compared as written.
    static bool isWithin(const std::filesystem::path& path, const std::filesystem::path& folder);
    // Removes the tree, folders made read-only (as extracted images are) included.
    static void remove(const std::filesystem::path& root);
    // The paths under the root, relative and sorted, folders ending in "/".
    static std::vector<std::string> list(const std::filesystem::path& root);
    static bool isExecutable(const std::filesystem::path& file);
};

}
