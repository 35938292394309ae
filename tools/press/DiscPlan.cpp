#include "DiscPlan.h"

#include "ImageNames.h"
#include "SuppliesCopyName.h"

#include "platform/foundation/PropertyListReader.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <span>

namespace docshelf::press {

using foundation::Value;
namespace fs = std::filesystem;

namespace {

Value stringArray(const std::vector<std::string>& texts) {
    std::vector<Value> values(texts.begin(), texts.end());
    return Value::array(std::move(values));
}

// Names come from the author's folders and table: shown escaped, never raw.
std::string inQuotes(const std::string& text) {
    return ImageNames::shown(text);
}

std::string shownPath(const fs::path& path) {
    return ImageNames::escaped(path.string());
}

}

std::string DiscPlan::volumePath(const std::string& volume, const std::string& relative) {
    return "/Volumes/" + volume + "/" + relative;
}

void DiscPlan::useFolder(const std::string& folder, const std::string& where, const std::string& manuals,
                         const LanguageTable& languages) {
    if (std::find(folders_.begin(), folders_.end(), folder) != folders_.end())
        return;
    fs::path directory = fs::path(manuals) / folder;
    std::error_code code;
    if (folder.find('/') != std::string::npos || folder == "." || folder == ".." ||
        !fs::is_directory(directory, code)) {
        errors_.push_back(where + "documentation folder " + inQuotes(folder) + " is not a folder of " + manuals);
        return;
    }
    folders_.push_back(folder);
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(directory, code))
        if (entry.is_directory(code))
            found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    if (found.empty())
        errors_.push_back(shownPath(directory) + ": no language folder (English, German, ...) in it");
    for (const auto& name : found) {
        if (languages.find(name))
            continue;
        std::string message = shownPath(directory / name) + ": language folder " + inQuotes(name) +
                              " is not in the language table; add a row for it to " + languages.source();
        if (auto closest = languages.closest(name); !closest.empty())
            message += ", or did you mean " + inQuotes(closest) + "?";
        errors_.push_back(message);
    }
}

void DiscPlan::checkOnline(const std::vector<std::string>& online, const std::string& where,
                           const LanguageTable& languages) {
    for (const auto& language : online)
        if (!languages.find(language)) {
            std::string message = where + "online language " + inQuotes(language) +
                                  " is not in the language table; add a row for it to " + languages.source();
            if (auto closest = languages.closest(language); !closest.empty())
                message += ", or did you mean " + inQuotes(closest) + "?";
            errors_.push_back(message);
        }
}

void DiscPlan::checkSize(const ModelsTable& models, const std::string& name, const Value& root,
                         foundation::PropertyListFormat format) {
    // Written as it will be and read by the browser's own reader, whose limits
    // (bytes, values, nesting) are the ones that count.
    std::string bytes = foundation::PropertyListWriter::serialize(root, format);
    auto read = foundation::PropertyListReader::parse(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    if (!read.error.empty())
        errors_.push_back(models.path() + ": the table's " + std::to_string(models.models().size()) + " models make " +
                          name + " " + std::to_string(bytes.size()) + " bytes (" + foundation::formatName(format) +
                          "), which the browser does not read: " + read.error + "; split the models over more discs");
}

DiscPlan DiscPlan::make(const ModelsTable& models, const std::string& manuals, const DiscWideSettings& discWide,
                        const LanguageTable& languages, const std::string& volume,
                        foundation::PropertyListFormat format) {
    DiscPlan plan;
    auto settings = [&](const std::optional<std::string>& folder, const std::string& url,
                        const std::vector<std::string>& online) {
        std::vector<Value::Entry> entries;
        if (folder)
            entries.emplace_back("Path", volumePath(volume, "Documentation/" + *folder));
        if (!url.empty())
            entries.emplace_back("URL", url);
        if (!online.empty())
            entries.emplace_back("Language", stringArray(online));
        return Value::dictionary(std::move(entries));
    };
    auto checkUrl = [&](const std::string& url, const std::string& where) {
        if (!url.empty() && !url.ends_with('?') && !url.ends_with('&'))
            plan.errors_.push_back(where + "URL " + inQuotes(url) +
                                   " must end in \"?\" or \"&\": the browser appends its query to it directly");
    };

    const bool hasDiscWide = discWide.documentation || discWide.url || !discWide.languages.empty();
    if (discWide.documentation)
        plan.useFolder(*discWide.documentation, "--documentation: ", manuals, languages);
    checkUrl(discWide.url.value_or(""), "--url: ");
    plan.checkOnline(discWide.languages, "--online-languages: ", languages);

    std::vector<Value::Entry> contained;
    std::vector<Value::Entry> identified;
    for (const auto& model : models.models()) {
        std::string where = models.where(model) + ": ";
        bool own = model.hasOwnSettings();
        std::optional<std::string> folder =
            own ? (model.hasFolder() ? std::optional(model.documentation) : std::nullopt) : discWide.documentation;
        const std::string& url = own ? model.url : discWide.url.value_or("");
        const auto& online = own ? model.languages : discWide.languages;
        if (own) {
            if (folder)
                plan.useFolder(*folder, where, manuals, languages);
            checkUrl(url, where);
            plan.checkOnline(online, where, languages);
        }
        if (!folder && (url.empty() || online.empty()))
            plan.errors_.push_back(where + "model " + inQuotes(model.name) +
                                   " has no documentation folder and no online address with languages; give it a "
                                   "Documentation folder, or a URL and Languages" +
                                   (hasDiscWide ? "" : " (or the disc-wide --documentation)"));
        contained.emplace_back(model.name, own ? Value::dictionary({{"Documentation", settings(folder, url, online)}})
                                               : Value::dictionary({}));
        identified.emplace_back(model.name, Value::dictionary({{"KPSID", model.kpsid}}));

        auto copy = SuppliesCopyName::forModel(model.name);
        if (copy.named())
            plan.copies_.push_back(copy.fileName());
        else
            plan.warnings_.push_back(where + "model " + inQuotes(model.name) +
                                     " gets no copy of the supplies launcher: " + copy.reason());
    }

    std::error_code code;
    for (const auto& entry : fs::directory_iterator(manuals, code)) {
        std::string name = entry.path().filename().string();
        if (entry.is_directory(code) &&
            std::find(plan.folders_.begin(), plan.folders_.end(), name) == plan.folders_.end())
            plan.warnings_.push_back(shownPath(entry.path()) + ": no model uses this folder; it is left off the disc");
    }
    if (code)
        plan.errors_.push_back(manuals + ": the folder of manuals cannot be read (" + code.message() + ")");

    std::vector<Value::Entry> cdInfo{{"ContainedModel", Value::dictionary(std::move(contained))}};
    if (hasDiscWide)
        cdInfo.emplace_back("Documentation",
                            settings(discWide.documentation, discWide.url.value_or(""), discWide.languages));
    plan.cdInfo_ = Value::dictionary(std::move(cdInfo));
    plan.modelInfo_ = Value::dictionary({{"Model", Value::dictionary(std::move(identified))}});
    plan.commonResource_ = Value::dictionary({{"CDInfo", volumePath(volume, "MacResources/CDInfo.plist")},
                                              {"ModelInfo", volumePath(volume, "MacResources/ModelInfo.plist")}});
    plan.checkSize(models, "CDInfo.plist", plan.cdInfo_, format);
    plan.checkSize(models, "ModelInfo.plist", plan.modelInfo_, format);
    return plan;
}

}
