#include "inspect/catalogue/LanguageMatrix.h"

#include "catalogue/DocumentationKeys.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyListLookup.h"

#include <algorithm>

namespace docshelf::inspect {

namespace {

using nlohmann::ordered_json;

std::string text(const ordered_json& value) {
    return value.is_string() ? value.get<std::string>() : std::string();
}

LanguageMatrix::Opens opens(const ordered_json& entry) {
    if (!text(entry[std::string(keys::documentationPath)]).empty())
        return LanguageMatrix::Opens::Disc;
    if (!text(entry[std::string(keys::documentationURL)]).empty())
        return LanguageMatrix::Opens::Online;
    return LanguageMatrix::Opens::Neither;
}

}

std::vector<std::string> LanguageMatrix::knownLanguages() {
    std::vector<std::string> names;
    auto resources = foundation::Bundle::mainBundle().resourcePath();
    if (!resources.isString())
        return names;
    auto members = foundation::PropertyListLookup::valueInFile(
        foundation::Value(std::string(resources.text()) + "/Documentation.plist"),
        {{std::string(keys::folderInfoArray)}});
    for (const auto& member : members.elements()) {
        auto name = member.objectForKey(keys::displayName);
        if (name.isString() && std::find(names.begin(), names.end(), name.text()) == names.end())
            names.emplace_back(name.text());
    }
    return names;
}

LanguageMatrix LanguageMatrix::from(const ordered_json& catalogue, std::vector<std::string> languages) {
    LanguageMatrix matrix;
    matrix.languages_ = std::move(languages);
    const auto& models = catalogue["models"];
    if (!models.is_array())
        return matrix;
    auto column = [&](const std::string& name) {
        auto found = std::find(matrix.languages_.begin(), matrix.languages_.end(), name);
        if (found != matrix.languages_.end())
            return static_cast<std::size_t>(found - matrix.languages_.begin());
        matrix.languages_.push_back(name);
        for (auto& row : matrix.rows_)
            row.languages.push_back(Opens::Neither);
        return matrix.languages_.size() - 1;
    };
    for (const auto& model : models) {
        matrix.rows_.push_back({text(model[std::string(keys::name)]), {}});
        matrix.rows_.back().languages.assign(matrix.languages_.size(), Opens::Neither);
        const auto& list = model[std::string(keys::documentationList)];
        if (!list.is_array())
            continue;
        for (const auto& entry : list) {
            std::size_t at = column(text(entry[std::string(keys::documentationDisplayName)]));
            auto& cell = matrix.rows_.back().languages[at];
            // Two entries of one language: the pop-up shows both, the first answers.
            if (cell == Opens::Neither)
                cell = opens(entry);
        }
    }
    return matrix;
}

const char* LanguageMatrix::word(Opens opens) {
    switch (opens) {
    case Opens::Disc:
        return "disc";
    case Opens::Online:
        return "online";
    case Opens::Neither:
        break;
    }
    return "neither";
}

ordered_json LanguageMatrix::json() const {
    ordered_json models = ordered_json::object();
    for (const auto& row : rows_) {
        ordered_json cells = ordered_json::object();
        for (std::size_t i = 0; i < languages_.size(); ++i)
            cells[languages_[i]] = word(row.languages[i]);
        models[row.model] = std::move(cells);
    }
    return {{"languages", languages_}, {"models", std::move(models)}};
}

}
