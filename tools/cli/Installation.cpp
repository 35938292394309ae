#include "cli/Installation.h"

#include <filesystem>
#include <vector>

#ifdef __APPLE__
#include <climits>
#include <cstdint>
#include <mach-o/dyld.h>
#endif

namespace docshelf::cli {

namespace {

namespace fs = std::filesystem;

// The first of the places, relative to the executable's folder, that exists;
// else the first.
std::string firstPresent(std::initializer_list<const char*> relatives) {
    fs::path folder = fs::path(Installation::executable()).parent_path();
    std::vector<fs::path> places;
    for (const char* relative : relatives)
        places.push_back((folder / relative).lexically_normal());
    std::error_code error;
    for (const fs::path& place : places)
        if (fs::exists(place, error))
            return place.string();
    return places.front().string();
}

}

std::string Installation::executable() {
    std::error_code error;
#ifdef __APPLE__
    // The loader's path may hold links and "..": resolved as /proc would give it.
    char buffer[PATH_MAX];
    std::uint32_t size = sizeof buffer;
    if (_NSGetExecutablePath(buffer, &size) != 0)
        return {};
    fs::path self = fs::canonical(buffer, error);
#else
    fs::path self = fs::read_symlink("/proc/self/exe", error);
#endif
    return error ? std::string() : self.string();
}

std::string Installation::application() {
    return firstPresent({"../lib/docshelf/Docshelf.app", "../docshelf/Docshelf.app"});
}

std::string Installation::messageTemplate() {
    return firstPresent(
        {"../share/docshelf/CDCommonMessage.bundle", "../sample-disc/ZORVANE/MacResources/CDCommonMessage.bundle"});
}

std::string Installation::windowsPrograms() {
    return firstPresent({"../share/docshelf/win32", "../win32"});
}

std::string Installation::renderProgram() {
    return firstPresent({"../lib/docshelf/docshelf-inspect-render", "docshelf-inspect-render"});
}

}
