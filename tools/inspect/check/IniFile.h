#pragma once

#include "platform/foundation/Result.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace docshelf::inspect {

// An INI file read the way GetPrivateProfileStringA reads it: section and key
// names compare without regard to letter case, the first section of a name and
// the first key of a name in it count, white space around names and values is
// dropped, and a value in matching quotes loses them. Lines that begin with ";"
// are comments. "[Setup]\nExeprog = \"a b.exe\"" gives value("setup", "EXEPROG") = "a b.exe".
class IniFile {
public:
    struct Value {
        std::string text;
        std::size_t line = 0; // counted from 1
    };

    // The file, or why it cannot be read: not a regular file, or larger than the readers take.
    static foundation::Result<IniFile> readFile(const std::string& path);
    static IniFile parse(std::string_view text);

    bool hasSection(std::string_view section) const;
    std::size_t sectionLine(std::string_view section) const; // 0 when there is none
    // Nullopt when the section or the key is missing.
    std::optional<Value> value(std::string_view section, std::string_view key) const;

private:
    struct Entry {
        std::string key;
        Value value;
    };
    struct Section {
        std::string name;
        std::size_t line = 0;
        std::vector<Entry> entries;
    };
    const Section* find(std::string_view section) const;

    std::vector<Section> sections_;
};

}
