#include "TreeComparison.h"

#include "FileTree.h"

#include "platform/foundation/UnicodeNormalization.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

namespace docshelf::press {

namespace fs = std::filesystem;

namespace {

bool sameBytes(const fs::path& a, const fs::path& b) {
    std::error_code code;
    if (fs::file_size(a, code) != fs::file_size(b, code) || code)
        return false;
    std::ifstream left(a, std::ios::binary);
    std::ifstream right(b, std::ios::binary);
    char one[65536];
    char two[65536];
    while (left && right) {
        left.read(one, sizeof one);
        right.read(two, sizeof two);
        if (left.gcount() != right.gcount() || !std::equal(one, one + left.gcount(), two))
            return false;
    }
    return !left.bad() && !right.bad();
}

}

TreeComparison TreeComparison::compare(const fs::path& folder, const fs::path& tree,
                                       const std::vector<std::string>& executables, Names names) {
    TreeComparison result;
    // Each path of the folder under the name the tree stores it by.
    std::multimap<std::string, std::string> stored;
    for (auto& path : FileTree::list(folder))
        stored.emplace(names == Names::Decomposed ? foundation::UnicodeNormalization::decomposed(path) : path, path);
    std::vector<std::string> expected;
    for (const auto& [name, path] : stored)
        expected.push_back(name);
    auto found = FileTree::list(tree);
    std::vector<std::string> missing;
    std::vector<std::string> extra;
    std::set_difference(expected.begin(), expected.end(), found.begin(), found.end(), std::back_inserter(missing));
    std::set_difference(found.begin(), found.end(), expected.begin(), expected.end(), std::back_inserter(extra));
    for (const auto& name : missing)
        result.differences_.push_back(stored.find(name)->second + ": missing");
    for (const auto& name : extra)
        result.differences_.push_back(name + ": not in the folder");
    for (const auto& [name, path] : stored) {
        if (path.ends_with('/') || std::binary_search(missing.begin(), missing.end(), name))
            continue;
        ++result.files_;
        if (!sameBytes(folder / path, tree / name))
            result.differences_.push_back(path + ": other bytes than in the folder");
    }
    for (const auto& executable : executables) {
        std::string name =
            names == Names::Decomposed ? foundation::UnicodeNormalization::decomposed(executable) : executable;
        if (std::binary_search(found.begin(), found.end(), name) && !FileTree::isExecutable(tree / name))
            result.differences_.push_back(executable + ": no longer executable");
    }
    return result;
}

}
