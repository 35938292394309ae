#include "inspect/cli/DiscFolder.h"

#include "cli/Installation.h"

#include "platform/foundation/VolumeMap.h"
#include "window/Locations.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace docshelf::inspect {

namespace {

namespace fs = std::filesystem;

bool isApplicationBundle(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error) && fs::is_regular_file(path / "Contents" / "Info.plist", error);
}

// The disc's application bundle: Docshelf.app when there, else the first
// folder NAME.app by name; empty when the folder holds none.
// A bundle that a Mac cannot start is still the disc's: it is checked (and
// reported) as it is, never replaced by another.
std::string findApplication(const fs::path& disc) {
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(disc, error))
        if (entry.path().extension() == ".app" && entry.is_directory(error))
            found.push_back(entry.path().filename().string());
    if (found.empty())
        return {};
    std::sort(found.begin(), found.end());
    bool docshelf = std::find(found.begin(), found.end(), "Docshelf.app") != found.end();
    return (disc / (docshelf ? "Docshelf.app" : found.front())).string();
}

// The application bundle that came with the inspector (installed, or built
// beside it): a disc folder as its author keeps it, before the bundle is copied
// in, is checked with it. Empty where there is none.
std::string builtApplication() {
    std::string app = cli::Installation::application();
    return isApplicationBundle(app) ? app : std::string();
}

std::string fullPath(const std::string& path) {
    std::error_code error;
    std::string full = fs::absolute(path, error).lexically_normal().string();
    while (full.size() > 1 && full.back() == '/')
        full.pop_back();
    return full;
}

}

DiscFolder DiscFolder::resolve(const CommandLine& command) {
    DiscFolder result;
    std::error_code error;
    if (command.disc && !fs::is_directory(*command.disc, error)) {
        result.error = "no disc folder at " + *command.disc;
        return result;
    }
    if (!command.app.empty()) {
        if (!fs::exists(command.app, error)) {
            result.error = "no application bundle at " + command.app;
            return result;
        }
        if (!isApplicationBundle(command.app)) {
            result.error = command.app + " is not an application bundle: it has no Contents/Info.plist";
            return result;
        }
        result.app = command.app;
    } else {
        result.app = findApplication(*command.disc);
        if (result.app.empty()) {
            result.app = builtApplication();
            if (result.app.empty()) {
                result.error = "no application bundle in " + *command.disc + "; name one with --app BUNDLE";
                return result;
            }
            result.appNote =
                "the disc folder holds no application bundle; using the one that came with the inspector, " +
                result.app;
        }
    }

    result.messageBundle = command.messageBundle;
    result.windows = command.windows;
    if (command.disc) {
        fs::path disc(*command.disc);
        if (!result.messageBundle && fs::is_directory(disc / "MacResources/CDCommonMessage.bundle", error))
            result.messageBundle = (disc / "MacResources/CDCommonMessage.bundle").string();
        if (!result.windows && command.command == "check" && fs::is_directory(disc / "Windows", error))
            result.windows = (disc / "Windows").string();
    }

    using foundation::VolumeMap;
    if (!command.volumes.empty()) {
        for (const auto& [volume, folder] : command.volumes) {
            VolumeMap::mapVolume(volume, fullPath(folder));
            result.mapping += (result.mapping.empty() ? "" : "; ") + volume + " is read from " + fullPath(folder);
        }
        result.mapping += " (--volume)";
        return result;
    }
    std::string volume = Locations::volumeNamedBy(result.app);
    if (volume.empty())
        return result;
    std::string folder = command.disc ? fullPath(*command.disc) : Locations::folderHolding(result.app);
    VolumeMap::mapVolume(volume, folder);
    result.mapping = volume + " is read from " + folder +
                     (command.disc ? " (the disc folder)" : " (the folder that holds the application bundle)");
    return result;
}

}
