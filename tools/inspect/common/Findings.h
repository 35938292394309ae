#pragma once

#include "inspect/common/Severity.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace docshelf::inspect {

// One thing that the check found on a disc.
struct Finding {
    Severity severity;
    std::string code;     // a stable word such as "model-without-kpsid"
    std::string location; // a file, with "[key][path]" or ":line" where there is one
    std::string message;
};

// The findings of one check, in the order they were found.
class Findings {
public:
    void error(std::string code, std::string location, std::string message);
    void warning(std::string code, std::string location, std::string message);
    void note(std::string code, std::string location, std::string message);
    void add(Severity severity, std::string code, std::string location, std::string message);

    const std::vector<Finding>& all() const { return findings_; }
    bool hasErrors() const;
    std::size_t count(Severity severity) const;
    // "1 error, 0 warnings, 2 notes": the last line of check and render.
    std::string summary() const;

    // One line per finding: "error model-without-kpsid /d/ModelInfo.plist[Model][QX]: ..."
    std::string text() const;
    // [{"severity": ..., "code": ..., "location": ..., "message": ...}, ...]
    nlohmann::ordered_json json() const;

    // Where a value lies in a property list: keyPath("/d/CDInfo.plist", {"ContainedModel", "QX"})
    // → "/d/CDInfo.plist[ContainedModel][QX]".
    static std::string keyPath(const std::string& file, const std::vector<std::string>& keys);

private:
    std::vector<Finding> findings_;
};

}
