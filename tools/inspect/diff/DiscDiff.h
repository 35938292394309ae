#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace docshelf::inspect {

// One difference a disc's users would notice between an old and a new disc.
struct DiscChange {
    std::string kind;              // "model-added", "document-changed", "text-changed", ...
    std::string where;             // "QX-500", "QX-500 / Deutsch", "de.lproj / Localizable UG_BTN_README", "Setup.exe"
    nlohmann::ordered_json before; // null where there was nothing
    nlohmann::ordered_json after;
};

// Compares two DiscView readings, in the order a reader scans a disc: models,
// then each model's languages and what they open, then texts, then launchers.
class DiscDiff {
public:
    static std::vector<DiscChange> compare(const nlohmann::ordered_json& before, const nlohmann::ordered_json& after);

    // One line per change: "QX-500 / Deutsch: document changed (120 bytes → 96 bytes)".
    static std::string text(const std::vector<DiscChange>& changes);
    // [{"kind", "where", "before", "after"}, ...]
    static nlohmann::ordered_json json(const std::vector<DiscChange>& changes);
};

}
