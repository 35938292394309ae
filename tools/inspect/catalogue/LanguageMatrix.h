#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace docshelf::inspect {

// Which model has which language, as the browser's language pop-up and buttons
// give it: for every model and every language the application knows, whether
// the guide opens from the disc, online, or not at all. The table a disc's
// author reads to see that a folder missing from one documentation folder has
// cost three models their German.
class LanguageMatrix {
public:
    enum class Opens { Disc, Online, Neither };

    struct Row {
        std::string model;
        std::vector<Opens> languages; // one per column, in the columns' order
    };

    // From the catalogue report ({"models": [...]}) and the display names of the
    // application's Documentation.plist, in its order; a language that only a
    // model's list names is added after them.
    static LanguageMatrix from(const nlohmann::ordered_json& catalogue, std::vector<std::string> languages);
    // The display names of the main bundle's Documentation.plist, in its order.
    static std::vector<std::string> knownLanguages();

    const std::vector<std::string>& languages() const { return languages_; }
    const std::vector<Row>& rows() const { return rows_; }

    // {"languages": [...], "models": {"QX-500": {"English": "disc", "Deutsch": "online", ...}}}
    nlohmann::ordered_json json() const;
    // "disc", "online", "neither"
    static const char* word(Opens opens);

private:
    std::vector<std::string> languages_;
    std::vector<Row> rows_;
};

}
