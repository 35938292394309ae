#include "OutputPlace.h"

#include "FileTree.h"
#include "PrintedName.h"

#include "platform/foundation/RegularFile.h"

#include <system_error>

namespace docshelf::press {

namespace fs = std::filesystem;

namespace {

// The path as written, made absolute, and the path its links lead to.
std::vector<fs::path> formsOf(const fs::path& path) {
    std::error_code code;
    std::vector<fs::path> forms{fs::absolute(path, code).lexically_normal()};
    fs::path real = fs::weakly_canonical(path, code);
    if (!code && real != forms.front())
        forms.push_back(real);
    return forms;
}

bool isEmptyFolder(const fs::path& path) {
    std::error_code code;
    return fs::is_empty(path, code) && !code;
}

// What init always writes; a folder without these is someone else's.
bool isPressedDisc(const fs::path& folder) {
    std::error_code code;
    return fs::is_regular_file(fs::symlink_status(folder / "autorun.inf", code)) &&
           fs::is_regular_file(fs::symlink_status(folder / "MacResources/CDInfo.plist", code)) &&
           fs::is_regular_file(fs::symlink_status(folder / "Windows/inst.ini", code));
}

// An ISO 9660 image has its primary volume descriptor at 32 KiB: type 1, "CD001".
bool isImage(const fs::path& file) {
    auto head = foundation::RegularFile::readPart(file.string(), 32768, 6);
    static const std::vector<std::uint8_t> descriptor{1, 'C', 'D', '0', '0', '1'};
    return head.bytes && *head.bytes == descriptor;
}

}

std::string OutputPlace::clash(const fs::path& out, const std::vector<NamedInput>& inputs) {
    const auto outForms = formsOf(out);
    for (const auto& input : inputs) {
        if (input.path.empty())
            continue;
        for (const auto& inForm : formsOf(input.path))
            for (const auto& outForm : outForms) {
                std::string relation = outForm == inForm                     ? "is"
                                       : FileTree::isWithin(outForm, inForm) ? "lies inside"
                                       : FileTree::isWithin(inForm, outForm) ? "contains"
                                                                             : "";
                if (!relation.empty())
                    return PrintedName::of(out.string()) + ": the output " + relation + " " +
                           PrintedName::of(input.path.string()) + " (" + input.option +
                           "), which it is made from; write it somewhere else";
            }
    }
    return "";
}

std::string OutputPlace::unreplaceable(const fs::path& out, Kind kind) {
    std::error_code code;
    auto status = fs::symlink_status(out, code);
    if (!fs::exists(status))
        return "";
    const std::string shown = PrintedName::of(out.string());
    if (kind == Kind::DiscFolder) {
        if (fs::is_directory(status) && (isEmptyFolder(out) || isPressedDisc(out)))
            return "";
        return shown + " is not a disc folder written by docshelf-press init; --replace replaces only such a "
                       "folder (move it away yourself if it is to go)";
    }
    if (fs::is_regular_file(status) && (fs::file_size(out, code) == 0 || isImage(out)))
        return "";
    return shown + " is not an image; --replace replaces only an image (move it away yourself if it is to go)";
}

}
