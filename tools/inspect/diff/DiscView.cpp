#include "inspect/diff/DiscView.h"

#include "inspect/catalogue/CatalogueReport.h"

#include "catalogue/DocumentationKeys.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/RegularFile.h"
#include "platform/foundation/StringsTable.h"
#include "platform/foundation/VolumeMap.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace docshelf::inspect {

namespace {

namespace fs = std::filesystem;
using nlohmann::ordered_json;

// Read in parts, so that a manual of any size costs one part of memory.
constexpr std::size_t partSize = std::size_t{1} << 20;

std::string text(const ordered_json& value) {
    return value.is_string() ? value.get<std::string>() : std::string();
}

// The entries of a folder in name order (directory order differs between file systems).
std::vector<fs::path> sortedEntries(const fs::path& folder) {
    std::vector<fs::path> entries;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end());
    return entries;
}

// Every strings table of every localization folder of a bundle, flat or with Contents/Resources.
ordered_json bundleTexts(const fs::path& bundle, ordered_json& texts) {
    std::error_code error;
    fs::path resources =
        fs::is_directory(bundle / "Contents" / "Resources", error) ? bundle / "Contents" / "Resources" : bundle;
    for (const auto& folder : sortedEntries(resources)) {
        if (folder.extension() != ".lproj" || !fs::is_directory(folder, error))
            continue;
        auto& localization = texts[folder.filename().string()];
        if (localization.is_null())
            localization = ordered_json::object();
        for (const auto& table : sortedEntries(folder)) {
            if (table.extension() != ".strings")
                continue;
            auto read = foundation::StringsTable::readFile(table.string());
            for (const auto& [key, value] : read.entries)
                localization[table.stem().string() + " " + key] = value;
        }
    }
    return texts;
}

ordered_json languages(const ordered_json& model) {
    ordered_json languages = ordered_json::object();
    const auto& list = model[std::string(keys::documentationList)];
    if (!list.is_array())
        return languages;
    for (const auto& entry : list) {
        std::string document = text(entry[std::string(keys::documentationPath)]);
        std::string readMe = text(entry[std::string(keys::documentationReadmePath)]);
        std::string address = text(entry[std::string(keys::documentationURL)]);
        ordered_json language;
        language["code"] = entry[std::string(keys::documentationLanguageCode)];
        language["document"] = document.empty() ? ordered_json() : ordered_json(document);
        language["document file"] = document.empty() ? ordered_json() : DiscView::fileDigest(document);
        language["readme"] = readMe.empty() ? ordered_json() : ordered_json(readMe);
        language["readme file"] = readMe.empty() ? ordered_json() : DiscView::fileDigest(readMe);
        language["url"] = address.empty() ? ordered_json() : ordered_json(address);
        languages[text(entry[std::string(keys::documentationDisplayName)])] = std::move(language);
    }
    return languages;
}

}

ordered_json DiscView::fileDigest(const std::string& path) {
    std::string where = foundation::VolumeMap::whereToRead(path);
    // FNV-1a: not for secrecy, only to tell changed bytes apart.
    std::uint64_t digest = 0xcbf29ce484222325u;
    std::uint64_t size = 0;
    for (;;) {
        auto part = foundation::RegularFile::readPart(where, size, partSize);
        if (!part.bytes)
            return size == 0 ? ordered_json() : ordered_json("unreadable");
        for (std::uint8_t byte : *part.bytes)
            digest = (digest ^ byte) * 0x100000001b3u;
        size += part.bytes->size();
        if (part.bytes->size() < partSize)
            break;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(digest));
    return std::to_string(size) + " bytes, " + hex;
}

ordered_json DiscView::read(const std::optional<std::string>& messageBundle,
                            const std::optional<std::string>& windows) {
    ordered_json view;
    auto catalogue = CatalogueReport::catalogue();
    ordered_json models = ordered_json::object();
    for (const auto& model : catalogue["models"]) {
        ordered_json seen;
        seen["KPSID"] = model[std::string(keys::kpsModelID)];
        seen["languages"] = languages(model);
        models[text(model[std::string(keys::name)])] = std::move(seen);
    }
    view["models"] = std::move(models);

    ordered_json texts = ordered_json::object();
    if (messageBundle)
        bundleTexts(*messageBundle, texts);
    auto resources = foundation::Bundle::mainBundle().resourcePath();
    if (resources.isString()) {
        ordered_json own = ordered_json::object();
        bundleTexts(std::string(resources.text()), own);
        for (auto& [localization, entries] : own.items())
            for (auto& [key, value] : entries.items())
                texts[localization]["application " + key] = value;
    }
    view["texts"] = std::move(texts);

    ordered_json launchers = ordered_json::object();
    if (windows) {
        std::error_code error;
        for (const auto& file : sortedEntries(*windows))
            if (fs::is_regular_file(file, error))
                launchers[file.filename().string()] = fileDigest(file.string());
    }
    view["launchers"] = std::move(launchers);
    return view;
}

}
