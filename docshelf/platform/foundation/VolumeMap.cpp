#include "VolumeMap.h"

namespace docshelf::foundation {

namespace {

constexpr std::string_view volumesFolder = "/Volumes/";

struct State {
    std::vector<VolumeMap::Mapping> volumes;
    std::optional<std::string> mountFolder;
};

State& state() {
    static State mapped;
    return mapped;
}

std::string withoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

}

void VolumeMap::mapVolume(const std::string& volume, const std::string& folder) {
    std::string name = withoutTrailingSlash(volume);
    for (auto& mapping : state().volumes)
        if (mapping.volume == name) {
            mapping.folder = withoutTrailingSlash(folder);
            return;
        }
    state().volumes.push_back({name, withoutTrailingSlash(folder)});
}

void VolumeMap::setMountFolder(std::optional<std::string> folder) {
    state().mountFolder = folder ? std::optional(withoutTrailingSlash(*folder)) : std::nullopt;
}

void VolumeMap::clear() {
    state() = {};
}

const std::vector<VolumeMap::Mapping>& VolumeMap::volumes() {
    return state().volumes;
}

const std::optional<std::string>& VolumeMap::mountFolder() {
    return state().mountFolder;
}

std::string VolumeMap::volumeOf(std::string_view path) {
    if (!path.starts_with(volumesFolder) || path.size() == volumesFolder.size())
        return {};
    auto end = path.find('/', volumesFolder.size());
    return std::string(path.substr(0, end));
}

std::string VolumeMap::whereToRead(std::string_view path) {
    const State& mapped = state();
    // The programs that install nothing pay for one test.
    if (mapped.volumes.empty() && !mapped.mountFolder)
        return std::string(path);
    std::string volume = volumeOf(path);
    if (volume.empty())
        return std::string(path);
    std::string_view rest = path.substr(volume.size());
    for (const auto& mapping : mapped.volumes)
        if (mapping.volume == volume)
            return mapping.folder + std::string(rest);
    if (mapped.mountFolder)
        return *mapped.mountFolder + std::string(path.substr(volumesFolder.size() - 1));
    return std::string(path);
}

}
