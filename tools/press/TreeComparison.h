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
    // How a file system stores the names it was given: Joliet and Rock Ridge
    // as written, HFS+ decomposed (Unicode NFD), so "é" comes back as "e" and
    // a combining accent and is the same name.
    enum class Names { AsWritten, Decomposed };

    static TreeComparison compare(const std::filesystem::path& folder, const std::filesystem::path& tree,
                                  const std::vector<std::string>& executables, Names names = Names::AsWritten);

    bool same() const { return differences_.empty(); }
    // "Windows/vps_QX-500.exe: missing", "autorun.inf: other bytes", ...
    const std::vector<std::string>& differences() const { return differences_; }
    std::size_t filesCompared() const { return files_; }

private:
    std::vector<std::string> differences_;
    std::size_t files_ = 0;
};

}
