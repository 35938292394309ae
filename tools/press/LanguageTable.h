#pragma once

#include "platform/foundation/Value.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace docshelf::press {

// The languages a disc may hold: each language folder's name, the name the
// language pop-up shows and the support service's code, in the order the
// browser offers them. Written into the application's Documentation.plist.
class LanguageTable {
public:
    struct Language {
        std::string folder;
        std::string display;
        std::string code;
        std::size_t line = 0; // of the table that lists it
    };

    // The table that ships with the tool (tools/press/languages.csv).
    static LanguageTable builtIn();
    // A table of the same columns ("Folder Name", "Display Name", "KPS Code");
    // nullopt with one line saying what is wrong and where.
    static std::optional<LanguageTable> readFile(const std::string& path, std::string& error);

    const std::vector<Language>& languages() const { return languages_; }
    const Language* find(std::string_view folder) const;
    // Where an author adds a language that is missing.
    const std::string& source() const { return source_; }
    // The folder name an unknown one was most likely meant to be, by a few
    // slips from a folder or display name ("Englsh" → "English", "Deutsh" →
    // "German"), or empty.
    std::string closest(std::string_view folder) const;

    foundation::Value documentationPlist() const;

private:
    static std::optional<LanguageTable> parse(std::string_view text, const std::string& source, std::string& error);

    std::vector<Language> languages_;
    std::string source_;
};

}
