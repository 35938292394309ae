#include "ModelsTable.h"

#include "CsvTable.h"

#include "ImageNames.h"
#include "NameClashes.h"

namespace docshelf::press {

namespace {

const char* const columns[] = {"Model", "KPSID", "Documentation", "URL", "Languages"};

std::string trimmed(const std::string& text) {
    auto begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return "";
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

}

std::vector<std::string> ModelsTable::splitLanguages(const std::string& list) {
    std::vector<std::string> languages;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find_first_of(";,", start);
        if (end == std::string::npos)
            end = list.size();
        std::string language = trimmed(list.substr(start, end - start));
        if (!language.empty())
            languages.push_back(language);
        start = end + 1;
    }
    return languages;
}

std::optional<ModelsTable> ModelsTable::readFile(const std::string& path, std::vector<std::string>& errors) {
    std::string error;
    auto csv = CsvTable::readFile(path, error);
    if (!csv) {
        errors.push_back(path + ": " + error);
        return std::nullopt;
    }
    std::size_t before = errors.size();
    for (std::size_t i = 0; i < csv->header().size(); ++i) {
        bool known = false;
        for (const char* column : columns)
            known = known || csv->column(column) == i;
        if (!known)
            errors.push_back(path + ":1: unknown column " + ImageNames::shown(csv->header()[i]) +
                             "; the columns are Model, KPSID, Documentation, URL and Languages");
    }
    auto name = csv->column("Model");
    auto kpsid = csv->column("KPSID");
    if (!name || !kpsid) {
        errors.push_back(path + ":1: the header needs the columns \"Model\" and \"KPSID\"");
        return std::nullopt;
    }
    ModelsTable table;
    table.path_ = path;
    NameClashes names;
    for (const auto& row : csv->rows()) {
        auto field = [&](std::optional<std::size_t> column) {
            return column && *column < row.fields.size() ? row.fields[*column] : std::string();
        };
        Model model{row.line,
                    field(name),
                    field(kpsid),
                    field(csv->column("Documentation")),
                    field(csv->column("URL")),
                    splitLanguages(field(csv->column("Languages")))};
        std::string where = path + ":" + std::to_string(row.line) + ": ";
        if (row.fields.size() > csv->header().size())
            errors.push_back(where + "the row has " + std::to_string(row.fields.size()) + " fields, the header " +
                             std::to_string(csv->header().size()));
        if (model.name.empty()) {
            errors.push_back(where + "the row names no model");
            continue;
        }
        const std::string shown = ImageNames::shown(model.name);
        if (ImageNames::hasControl(model.name)) {
            // A NUL would end the name in the property list and merge two models.
            errors.push_back(where + "model " + shown +
                             " holds a control character; a model's name is text on one line");
            continue;
        }
        for (std::size_t i = 0; i < row.fields.size() && i < csv->header().size(); ++i)
            if (i != *name && ImageNames::hasControl(row.fields[i]))
                errors.push_back(where + "the " + ImageNames::escaped(csv->header()[i]) + " of model " + shown + ", " +
                                 ImageNames::shown(row.fields[i]) + ", holds a control character");
        if (model.kpsid.empty())
            errors.push_back(where + "model " + shown +
                             " has no KPSID; the browser would drop its whole documentation list");
        if (auto earlier = names.add(model.name, model.line))
            errors.push_back(where + "model " + shown + " is already listed on line " + std::to_string(earlier->tag) +
                             (earlier->name == model.name
                                  ? ""
                                  : " as " + ImageNames::shown(earlier->name) +
                                        ", which differs only in letter case or Unicode normalization: the model "
                                        "pop-up would show two names for one"));
        table.models_.push_back(std::move(model));
    }
    table.nameComparisons_ = names.comparisons();
    if (table.models_.empty() && errors.size() == before)
        errors.push_back(path + ": the table lists no model");
    if (errors.size() != before)
        return std::nullopt;
    return table;
}

}
