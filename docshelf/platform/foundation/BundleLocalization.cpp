#include "Bundle.h"

#include "FileManager.h"
#include "Localizations.h"
#include "PreferredLanguages.h"
#include "StringsTable.h"

#include <algorithm>

namespace docshelf::foundation {

namespace {

constexpr std::string_view localizationSuffix = ".lproj";

std::string developmentRegion(const Bundle& bundle) {
    return std::string(bundle.infoDictionary().objectForKey("CFBundleDevelopmentRegion").text());
}

bool isDirectoryAt(const std::string& path) {
    bool isDirectory = false;
    return FileManager::fileExistsAtPath(Value(path), isDirectory) && isDirectory;
}

bool isFileAt(const std::string& path) {
    bool isDirectory = false;
    return FileManager::fileExistsAtPath(Value(path), isDirectory) && !isDirectory;
}

// The table files to try, best first: the chosen localization's, the
// development region's, English's, then the one outside any .lproj folder.
std::vector<std::string> tableCandidates(const Bundle& bundle, const std::string& fileName) {
    std::string resources(bundle.resourcePath().text());
    std::vector<std::string> available = bundle.localizations();
    std::string region = developmentRegion(bundle);
    std::vector<std::optional<std::string>> folders{
        Localizations::choose(available, PreferredLanguages::ofUser(), region),
        Localizations::find(available, region),
        Localizations::find(available, "en"),
    };
    std::vector<std::string> paths;
    for (const auto& folder : folders) {
        if (!folder)
            continue;
        std::string path = resources + "/" + *folder + std::string(localizationSuffix) + "/" + fileName;
        if (std::find(paths.begin(), paths.end(), path) == paths.end())
            paths.push_back(std::move(path));
    }
    paths.push_back(resources + "/" + fileName);
    return paths;
}

}

Value Bundle::localizedStringForKey(const Value& key, const Value& value, const Value& table) const {
    if (!path_)
        return {};
    std::string fileName = (table.isNonEmptyString() ? std::string(table.text()) : "Localizable") + ".strings";
    if (key.isString()) {
        for (const auto& path : tableCandidates(*this, fileName)) {
            if (!isFileAt(path))
                continue;
            // The first table found answers, even when it lacks the key or cannot be read.
            Value text = StringsTable::readFile(path).objectForKey(key.text());
            if (!text.isAbsent())
                return text;
            break;
        }
    }
    // As Cocoa does: without a default to give, the key stands for its own text.
    if (value.isNonEmptyString())
        return value;
    return key.isString() ? key : Value("");
}

std::vector<std::string> Bundle::localizations() const {
    std::vector<std::string> names;
    Value resources = resourcePath();
    Value listing = FileManager::contentsOfDirectoryAtPath(resources);
    for (const Value& entry : listing.elements()) {
        std::string_view name = entry.text();
        if (name.size() > localizationSuffix.size() && name.ends_with(localizationSuffix) &&
            isDirectoryAt(std::string(resources.text()) + "/" + std::string(name)))
            names.emplace_back(name.substr(0, name.size() - localizationSuffix.size()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string Bundle::preferredLocalization() const {
    if (!path_)
        return {};
    return Localizations::choose(localizations(), PreferredLanguages::ofUser(), developmentRegion(*this))
        .value_or(std::string());
}

}
