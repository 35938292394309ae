#include "Localizations.h"

#include <algorithm>
#include <array>
#include <utility>

namespace docshelf::foundation {

namespace {

// English names that older bundles give their localization folders.
constexpr std::array<std::pair<std::string_view, std::string_view>, 36> legacyNames{{
    {"english", "en"},    {"japanese", "ja"},   {"french", "fr"},    {"german", "de"},     {"spanish", "es"},
    {"italian", "it"},    {"dutch", "nl"},      {"swedish", "sv"},   {"danish", "da"},     {"finnish", "fi"},
    {"norwegian", "nb"},  {"portuguese", "pt"}, {"korean", "ko"},    {"russian", "ru"},    {"polish", "pl"},
    {"czech", "cs"},      {"hungarian", "hu"},  {"turkish", "tr"},   {"greek", "el"},      {"chinese", "zh"},
    {"arabic", "ar"},     {"hebrew", "he"},     {"thai", "th"},      {"ukrainian", "uk"},  {"romanian", "ro"},
    {"croatian", "hr"},   {"slovak", "sk"},     {"slovenian", "sl"}, {"catalan", "ca"},    {"icelandic", "is"},
    {"vietnamese", "vi"}, {"indonesian", "id"}, {"bulgarian", "bg"}, {"lithuanian", "lt"}, {"latvian", "lv"},
    {"estonian", "et"},
}};

std::string normalized(std::string_view name) {
    std::string result(name);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        else if (c == '_')
            c = '-';
    }
    return result;
}

std::string languagePart(const std::string& code) {
    return code.substr(0, code.find('-'));
}

bool isLegacyName(const std::string& name) {
    return normalized(name) != Localizations::canonicalCode(name);
}

// Folders named by code first, then legacy names, each group by name.
std::vector<std::string> inPreferenceOrder(std::vector<std::string> names) {
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        bool legacyA = isLegacyName(a);
        bool legacyB = isLegacyName(b);
        return legacyA != legacyB ? legacyB : a < b;
    });
    return names;
}

std::optional<std::string> firstWithCode(const std::vector<std::string>& ordered, const std::string& code) {
    for (const auto& name : ordered)
        if (Localizations::canonicalCode(name) == code)
            return name;
    return std::nullopt;
}

}

std::string Localizations::canonicalCode(std::string_view name) {
    std::string code = normalized(name);
    for (const auto& [legacy, iso] : legacyNames)
        if (code == legacy)
            return std::string(iso);
    // "no" is the older code of Norwegian Bokmål.
    if (code == "no" || code.starts_with("no-"))
        code.replace(0, 2, "nb");
    return code;
}

std::optional<std::string> Localizations::find(const std::vector<std::string>& available, std::string_view language) {
    std::string code = canonicalCode(language);
    if (code.empty())
        return std::nullopt;
    std::vector<std::string> ordered = inPreferenceOrder(available);
    if (auto exact = firstWithCode(ordered, code))
        return exact;
    std::string part = languagePart(code);
    return part != code ? firstWithCode(ordered, part) : std::nullopt;
}

std::optional<std::string> Localizations::choose(const std::vector<std::string>& available,
                                                 const std::vector<std::string>& preferred,
                                                 std::string_view developmentRegion) {
    for (const auto& language : preferred)
        if (auto found = find(available, language))
            return found;
    if (auto found = find(available, developmentRegion))
        return found;
    return find(available, "en");
}

}
