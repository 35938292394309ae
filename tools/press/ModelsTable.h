#pragma once

#include <optional>
#include <string>
#include <vector>

namespace docshelf::press {

// The disc's models as an author keeps them in a spreadsheet, one row a model:
//   Model,KPSID,Documentation,URL,Languages
//   QX-500,QX500,,,
//   RT-20,RT20,none,http://support.example.com/manuals/redirect?,Japanese;English
// "Model" and "KPSID" are required; "Documentation" (a folder of manuals, or
// "none"), "URL" (the online address's first part) and "Languages" (folder
// names of the languages offered online, separated by ";" or ",") are optional.
// A row that leaves all three empty takes the disc-wide settings.
class ModelsTable {
public:
    struct Model {
        std::size_t line = 0;
        std::string name;
        std::string kpsid;
        std::string documentation; // empty or "none": no folder of its own
        std::string url;
        std::vector<std::string> languages;

        bool hasOwnSettings() const { return !documentation.empty() || !url.empty() || !languages.empty(); }
        bool hasFolder() const { return !documentation.empty() && documentation != "none"; }
    };

    // Nullopt with every fault found, each "FILE:LINE: message".
    static std::optional<ModelsTable> readFile(const std::string& path, std::vector<std::string>& errors);

    const std::string& path() const { return path_; }
    const std::vector<Model>& models() const { return models_; }
    std::string where(const Model& model) const { return path_ + ":" + std::to_string(model.line); }

    static std::vector<std::string> splitLanguages(const std::string& list);
    // The work of finding names listed twice (names hashed and compared):
    // one or two steps a row, whatever the table's length.
    std::size_t nameComparisons() const { return nameComparisons_; }

private:
    std::string path_;
    std::vector<Model> models_;
    std::size_t nameComparisons_ = 0;
};

}
