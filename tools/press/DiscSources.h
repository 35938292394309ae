#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

namespace docshelf::press {

// Where each part of a disc came from, recorded while the press writes it, so
// that a fault found on the disc is shown where its author mends it: a manual at
// its path under --manuals, a model's record at its line of the models table.
// What the press wrote itself is shown at its place in the disc folder, never in
// the staging folder that the press writes first and throws away.
class DiscSources {
public:
    struct Place {
        std::string file;
        std::size_t line = 0; // 0: no line
    };

    // `disc` is the folder as the author will find it (the --out of init).
    explicit DiscSources(std::string disc);

    // The file or folder `relative` of the disc is a copy of `source`.
    void copied(const std::string& relative, const std::string& source);
    // The file or folder `relative` was written by the press: shown on the disc.
    void written(const std::string& relative);
    // What lies at `keyPath` ("[Model][QX-500]") of the list `relative`, and
    // under it, came from that place.
    void entry(const std::string& relative, const std::string& keyPath, Place place);

    // The place of a finding on the disc: `relative` to the disc folder, with
    // the key path and line where the check found it.
    Place placeOf(const std::string& relative, const std::string& keyPath, std::size_t line) const;
    const std::string& disc() const { return disc_; }

private:
    std::string disc_;
    std::unordered_map<std::string, std::string> copies_; // relative path → source
    std::unordered_map<std::string, Place> entries_;      // relative path + key path → place
};

}
