#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace docshelf::press {

// One input the author named, with the option that named it.
struct NamedInput {
    std::string option; // "--manuals", "the disc folder", ...
    std::filesystem::path path;
};

// Where a result may be written: never onto, into or around what it is made
// from, and over an existing result only when that is one the press wrote.
class OutputPlace {
public:
    enum class Kind { DiscFolder, Image };

    // The line that refuses `out` because it is, lies inside, or contains one
    // of the inputs (links resolved as well as taken as written); empty when
    // it does none of these.
    static std::string clash(const std::filesystem::path& out, const std::vector<NamedInput>& inputs);
    // The line that refuses to replace what is at `out`: anything but a disc
    // folder written by init (or an image), an empty folder or an empty file.
    // Empty when nothing is there or it may be replaced.
    static std::string unreplaceable(const std::filesystem::path& out, Kind kind);
};

}
