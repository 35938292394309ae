#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace docshelf::press {

// Compares a tree read back from an image with the folder it was pressed from:
// the same names, the same bytes in every file, and, where the tree keeps
// permissions, the executables still executable.
class TreeComparison {
public:
    static TreeComparison compare(const std::filesystem::path& folder, const std::filesystem::path& tree,
                                  const std::vector<std::string>& executables);

    bool same() const { return differences_.empty(); }
    // "Windows/vps_QX-500.exe: missing", "autorun.inf: other bytes", ...
    const std::vector<std::string>& differences() const { return differences_; }
    std::size_t filesCompared() const { return files_; }

private:
    std::vector<std::string> differences_;
    std::size_t files_ = 0;
};

}
