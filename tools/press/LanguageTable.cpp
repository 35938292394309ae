#include "LanguageTable.h"

#include "CsvTable.h"

#include "platform/foundation/NearMiss.h"
#include "platform/foundation/ReadLimits.h"
#include "cli/InputFile.h"

#include <algorithm>

namespace docshelf::press {

extern const char* const builtInLanguages; // languages.csv, generated into the build

using foundation::Value;

LanguageTable LanguageTable::builtIn() {
    std::string error;
    // The shipped table is tested; it always parses.
    return *parse(builtInLanguages, "tools/press/languages.csv", error);
}

std::optional<LanguageTable> LanguageTable::readFile(const std::string& path, std::string& error) {
    auto file = cli::InputFile::read(path, foundation::ReadLimits::maximumFileSize);
    if (!file.bytes) {
        error = path + ": the language table cannot be read: " + file.error;
        return std::nullopt;
    }
    return parse(std::string(file.bytes->begin(), file.bytes->end()), path, error);
}

std::optional<LanguageTable> LanguageTable::parse(std::string_view text, const std::string& source,
                                                  std::string& error) {
    auto csv = CsvTable::parse(text, error);
    if (!csv) {
        error = source + ": " + error;
        return std::nullopt;
    }
    auto folder = csv->column("Folder Name");
    auto display = csv->column("Display Name");
    auto code = csv->column("KPS Code");
    if (!folder || !display || !code) {
        error = source + ":1: the header names the columns \"Folder Name\", \"Display Name\" and \"KPS Code\"";
        return std::nullopt;
    }
    LanguageTable table;
    table.source_ = source;
    for (const auto& row : csv->rows()) {
        auto field = [&](std::size_t column) { return column < row.fields.size() ? row.fields[column] : ""; };
        Language language{field(*folder), field(*display), field(*code), row.line};
        std::string where = source + ":" + std::to_string(row.line) + ": ";
        if (language.folder.empty() || language.display.empty() || language.code.empty()) {
            error = where + "a language needs its folder name, display name and code";
            return std::nullopt;
        }
        if (table.find(language.folder)) {
            error = where + "the folder name \"" + language.folder + "\" is listed twice";
            return std::nullopt;
        }
        table.languages_.push_back(std::move(language));
    }
    if (table.languages_.empty()) {
        error = source + ": the table lists no language";
        return std::nullopt;
    }
    return table;
}

const LanguageTable::Language* LanguageTable::find(std::string_view folder) const {
    auto found = std::find_if(languages_.begin(), languages_.end(),
                              [&](const Language& language) { return language.folder == folder; });
    return found == languages_.end() ? nullptr : &*found;
}

std::string LanguageTable::closest(std::string_view folder) const {
    std::string best;
    std::size_t bestDistance = std::string::npos;
    for (const auto& language : languages_)
        // "Deutsh" is meant to be German, whose own name is Deutsch.
        for (const std::string& name : {language.folder, language.display}) {
            std::size_t d = foundation::NearMiss::editDistance(folder, name);
            if (foundation::NearMiss::isSlipFor(folder, name) && d < bestDistance) {
                best = language.folder;
                bestDistance = d;
            }
        }
    return best;
}

Value LanguageTable::documentationPlist() const {
    std::vector<Value> members;
    for (const auto& language : languages_)
        members.push_back(Value::dictionary(
            {{"Folder Name", language.folder}, {"Display Name", language.display}, {"KPS Code", language.code}}));
    return Value::dictionary({{"FolderInfoArray", Value::array(std::move(members))}});
}

}
