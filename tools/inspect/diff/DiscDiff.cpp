#include "inspect/diff/DiscDiff.h"

#include "inspect/common/Findings.h"
#include "inspect/common/Wording.h"

namespace docshelf::inspect {

namespace {

using nlohmann::ordered_json;

const ordered_json& member(const ordered_json& object, const std::string& key) {
    static const ordered_json none;
    if (!object.is_object())
        return none;
    auto found = object.find(key);
    return found == object.end() ? none : *found;
}

// Members of `before` missing from `after` are removed, members only in `after`
// added (in the new disc's order), and members in both are handed to `both`.
template <class Both>
void compareMembers(const ordered_json& before, const ordered_json& after, const std::string& noun,
                    const std::string& where, std::vector<DiscChange>& changes, Both both) {
    auto place = [&](const std::string& key) { return where.empty() ? key : where + " / " + key; };
    if (before.is_object())
        for (const auto& [key, value] : before.items())
            if (member(after, key).is_null())
                changes.push_back({noun + "-removed", place(key), value, nullptr});
    if (!after.is_object())
        return;
    for (const auto& [key, value] : after.items()) {
        const auto& old = member(before, key);
        if (old.is_null())
            changes.push_back({noun + "-added", place(key), nullptr, value});
        else
            both(place(key), old, value);
    }
}

void compareValue(const std::string& kind, const std::string& where, const ordered_json& before,
                  const ordered_json& after, std::vector<DiscChange>& changes) {
    if (before == after)
        return;
    std::string suffix = before.is_null() ? "-added" : after.is_null() ? "-removed" : "-changed";
    changes.push_back({kind + suffix, where, before, after});
}

// Where a language opens: "on the disc", "online" or "nothing".
std::string opens(const ordered_json& language) {
    if (!member(language, "document").is_null())
        return "on the disc";
    if (!member(language, "url").is_null())
        return "online";
    return "nothing";
}

void compareLanguage(const std::string& where, const ordered_json& before, const ordered_json& after,
                     std::vector<DiscChange>& changes) {
    compareValue("language-code", where, member(before, "code"), member(after, "code"), changes);
    compareValue("document", where, member(before, "document"), member(after, "document"), changes);
    if (member(before, "document") == member(after, "document"))
        compareValue("document-content", where, member(before, "document file"), member(after, "document file"),
                     changes);
    compareValue("readme", where, member(before, "readme"), member(after, "readme"), changes);
    if (member(before, "readme") == member(after, "readme"))
        compareValue("readme-content", where, member(before, "readme file"), member(after, "readme file"), changes);
    compareValue("address", where, member(before, "url"), member(after, "url"), changes);
}

std::string shown(const ordered_json& value) {
    if (value.is_null())
        return "nothing";
    if (value.is_string())
        return inQuotes(value.get<std::string>());
    if (value.is_object() && value.contains("languages")) {
        std::string names;
        for (const auto& [name, language] : value["languages"].items())
            names += (names.empty() ? "" : ", ") + name + " (" + opens(language) + ")";
        return names.empty() ? "no languages" : names;
    }
    if (value.is_object() && value.contains("code"))
        return opens(value);
    return value.dump();
}

}

std::vector<DiscChange> DiscDiff::compare(const ordered_json& before, const ordered_json& after) {
    std::vector<DiscChange> changes;
    compareMembers(member(before, "models"), member(after, "models"), "model", "", changes,
                   [&](const std::string& model, const ordered_json& old, const ordered_json& now) {
                       compareValue("kpsid", model, member(old, "KPSID"), member(now, "KPSID"), changes);
                       compareMembers(member(old, "languages"), member(now, "languages"), "language", model, changes,
                                      [&](const std::string& where, const ordered_json& a, const ordered_json& b) {
                                          compareLanguage(where, a, b, changes);
                                      });
                   });
    compareMembers(member(before, "texts"), member(after, "texts"), "localization", "", changes,
                   [&](const std::string& localization, const ordered_json& old, const ordered_json& now) {
                       compareMembers(old, now, "text", localization, changes,
                                      [&](const std::string& where, const ordered_json& a, const ordered_json& b) {
                                          compareValue("text", where, a, b, changes);
                                      });
                   });
    compareMembers(member(before, "launchers"), member(after, "launchers"), "launcher", "", changes,
                   [&](const std::string& file, const ordered_json& old, const ordered_json& now) {
                       compareValue("launcher", file, old, now, changes);
                   });
    return changes;
}

std::string DiscDiff::text(const std::vector<DiscChange>& changes) {
    std::string out;
    for (const auto& change : changes) {
        std::string what = change.kind;
        for (auto& c : what)
            if (c == '-')
                c = ' ';
        out += Findings::oneLine(change.where) + ": " + what;
        if (change.kind.ends_with("-changed"))
            out += ": " + Findings::oneLine(shown(change.before)) + " → " + Findings::oneLine(shown(change.after));
        else if (change.kind.ends_with("-added"))
            out += ": " + Findings::oneLine(shown(change.after));
        else
            out += " (was " + Findings::oneLine(shown(change.before)) + ")";
        out += "\n";
    }
    return out;
}

ordered_json DiscDiff::json(const std::vector<DiscChange>& changes) {
    ordered_json all = ordered_json::array();
    for (const auto& change : changes)
        all.push_back(
            {{"kind", change.kind}, {"where", change.where}, {"before", change.before}, {"after", change.after}});
    return all;
}

}
