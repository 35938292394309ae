#include "Locations.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/VolumeMap.h"

#include <cstdlib>
#include <filesystem>

namespace docshelf {

namespace {

std::optional<Locations>& overridden() {
    static std::optional<Locations> locations;
    return locations;
}

constexpr const char* volumes = "/Volumes";
constexpr const char* messageBundleOnDisc = "/ZORVANE/MacResources/CDCommonMessage.bundle";
constexpr const char* preferredReader = "/Applications/Adobe Reader.app";

}

Locations Locations::macDefaults() {
    return {std::string(volumes) + messageBundleOnDisc, preferredReader, "open"};
}

Locations Locations::fromEnvironment(const std::function<const char*(const char*)>& getenv) {
    Locations result = macDefaults();
#ifndef __APPLE__
    result.opener = "xdg-open";
    result.opensMappedPaths = true;
#endif
    if (const char* bundle = getenv("DOCSHELF_MESSAGE_BUNDLE"); bundle && *bundle)
        result.messageBundle = bundle;
    if (const char* reader = getenv("DOCSHELF_PDF_READER"); reader && *reader)
        result.pdfReader = reader;
    return result;
}

Locations Locations::current() {
    if (overridden())
        return *overridden();
#ifdef __APPLE__
    // A Mac always has its disc under /Volumes and its "open".
    return macDefaults();
#else
    return fromEnvironment([](const char* name) { return std::getenv(name); });
#endif
}

std::string Locations::pathToOpen(std::string_view path) const {
    return opensMappedPaths ? foundation::VolumeMap::whereToRead(path) : std::string(path);
}

std::string Locations::mapVolumes([[maybe_unused]] const std::function<const char*(const char*)>& getenv,
                                  [[maybe_unused]] const std::string& app) {
#ifdef __APPLE__
    return {};
#else
    using foundation::VolumeMap;
    if (const char* mounted = getenv("DOCSHELF_VOLUMES"); mounted && *mounted) {
        VolumeMap::setMountFolder(mounted);
        return std::string("volumes are read under ") + mounted;
    }
    std::string volume = volumeNamedBy(app);
    if (volume.empty())
        return {};
    std::string folder = folderHolding(app);
    VolumeMap::mapVolume(volume, folder);
    return volume + " is read from " + folder;
#endif
}

std::string Locations::volumeNamedBy(const std::string& app) {
    auto info = foundation::Bundle::bundleWithPath(foundation::Value(app)).infoDictionary();
    foundation::Value common = info.objectForKey("CommonResourcePath");
    return common.isString() ? foundation::VolumeMap::volumeOf(common.text()) : std::string();
}

std::string Locations::folderHolding(const std::string& app) {
    std::error_code error;
    std::filesystem::path bundle = std::filesystem::absolute(app, error).lexically_normal();
    if (!bundle.has_filename())
        bundle = bundle.parent_path();
    return bundle.parent_path().string();
}

void Locations::setOverride(std::optional<Locations> locations) {
    overridden() = std::move(locations);
}

}
