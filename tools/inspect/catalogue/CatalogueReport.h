#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace docshelf::inspect {

// Reports on the running disc, through the very catalogue code the browser runs.
// The main bundle must already point at the application bundle.
class CatalogueReport {
public:
    // {"cd information": ..., "models": [one dictionary per contained model]}
    static nlohmann::ordered_json catalogue();
    // The documentation dictionary of one model, listed or not.
    static nlohmann::ordered_json model(const std::string& name);
    // The three lookups for one model and language display name, null where absent.
    static nlohmann::ordered_json lookup(const std::string& model, const std::string& language);
};

}
