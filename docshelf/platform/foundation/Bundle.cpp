#include "Bundle.h"

#include "FileManager.h"
#include "PropertyListLookup.h"

#include <unistd.h>
#ifdef __APPLE__
#include <mach-o/dyld.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#endif

#include <array>

namespace docshelf::foundation {

namespace {

std::optional<std::string>& mainBundleOverride() {
    static std::optional<std::string> path;
    return path;
}

std::string parentOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The running program's file, links resolved; empty when the system won't say.
std::string executablePath() {
#ifdef __APPLE__
    // A Mac has no /proc: the loader knows the path it started, perhaps through links.
    std::array<char, 4096> given{};
    auto size = static_cast<uint32_t>(given.size());
    if (_NSGetExecutablePath(given.data(), &size) != 0)
        return {};
    std::array<char, PATH_MAX> resolved{};
    return realpath(given.data(), resolved.data()) ? std::string(resolved.data()) : std::string(given.data());
#else
    std::array<char, 4096> buffer{};
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    return length > 0 ? std::string(buffer.data(), static_cast<std::size_t>(length)) : std::string();
#endif
}

}

Bundle Bundle::mainBundle() {
    if (mainBundleOverride())
        return bundleWithPath(Value(*mainBundleOverride()));
    // X.app/Contents/MacOS/exe: three levels up is the bundle.
    std::string macos = parentOf(executablePath());
    std::string contents = parentOf(macos);
    if (macos.ends_with("/MacOS") && contents.ends_with("/Contents"))
        return bundleWithPath(Value(parentOf(contents)));
    return bundleWithPath(Value(macos));
}

void Bundle::setMainBundlePath(std::optional<std::string> path) {
    mainBundleOverride() = std::move(path);
}

Bundle Bundle::bundleWithPath(const Value& path) {
    bool isDirectory = false;
    if (!FileManager::fileExistsAtPath(path, isDirectory) || !isDirectory)
        return {};
    std::string text(path.text());
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return Bundle(std::move(text));
}

Value Bundle::bundlePath() const {
    return path_ ? Value(*path_) : Value();
}

std::string Bundle::contentsPath() const {
    bool isDirectory = false;
    std::string contents = *path_ + "/Contents";
    if (FileManager::fileExistsAtPath(Value(contents), isDirectory) && isDirectory)
        return contents;
    return *path_;
}

Value Bundle::resourcePath() const {
    if (!path_)
        return {};
    std::string contents = contentsPath();
    return Value(contents == *path_ ? contents : contents + "/Resources");
}

Value Bundle::infoPlistPath() const {
    if (!path_)
        return {};
    return Value(contentsPath() + "/Info.plist");
}

Dictionary Bundle::infoDictionary() const {
    return Dictionary::dictionaryWithContentsOfFile(infoPlistPath());
}

Value Bundle::objectForInfoDictionaryKey(std::string_view key) const {
    return PropertyListLookup::valueInFile(infoPlistPath(), {{std::string(key)}});
}

}
