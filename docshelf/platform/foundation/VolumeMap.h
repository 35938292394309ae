#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace docshelf::foundation {

// Where a disc's volume really lies. A disc's lists name their files as the Mac
// mounts it, "/Volumes/ZORVANE/MacResources/CDInfo.plist"; elsewhere the same
// disc is mounted at /media/alice/ZORVANE, or sits in an author's folder. Every
// file the foundation reads, lists or tests goes through whereToRead, so the
// mapping changes where a path is read, never the path that the catalogue
// builds or the window shows. Empty (the Mac's way: paths read as written)
// until a program installs a mapping at its start.
class VolumeMap {
public:
    // "/Volumes/ZORVANE" is read from `folder`: "/Volumes/ZORVANE/a" → "FOLDER/a".
    // A volume mapped again takes the new folder.
    static void mapVolume(const std::string& volume, const std::string& folder);
    // Every volume not mapped by name lies under `folder`, as DOCSHELF_VOLUMES
    // says: "/Volumes/NAME/a" → "FOLDER/NAME/a". Nullopt ends it.
    static void setMountFolder(std::optional<std::string> folder);
    // Back to reading paths as written.
    static void clear();

    struct Mapping {
        std::string volume; // "/Volumes/ZORVANE"
        std::string folder;
    };
    static const std::vector<Mapping>& volumes();
    static const std::optional<std::string>& mountFolder();

    // The path where `path` is read; `path` itself when no mapping covers it.
    static std::string whereToRead(std::string_view path);
    // "/Volumes/ZORVANE" for "/Volumes/ZORVANE/MacResources/x" (or the volume
    // itself); empty for a path that names no volume.
    static std::string volumeOf(std::string_view path);
};

}
