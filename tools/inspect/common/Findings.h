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
    // The location taken apart: the file where it was read, its line (0 when
    // unknown; in an XML property list the line of the key) and "[key][path]".
    std::string file;
    std::size_t line = 0;
    std::string keyPath;
};

// The findings of one check, in the order they were found.
class Findings {
public:
    void error(std::string code, std::string location, std::string message);
    void warning(std::string code, std::string location, std::string message);
    void note(std::string code, std::string location, std::string message);
    void add(Severity severity, std::string code, std::string location, std::string message);
    // A finding whose place is already taken apart, kept as it is.
    void add(Finding finding);

    const std::vector<Finding>& all() const { return findings_; }
    bool hasErrors() const;
    std::size_t count(Severity severity) const;
    // "1 error, 0 warnings, 2 notes": the last line of check and render.
    std::string summary() const;

    // Drops every finding of these codes.
    void ignore(const std::vector<std::string>& codes);

    // One line per finding, as compilers write them, so that editors and CI jump to the place:
    // "/d/ModelInfo.plist:7: error: [Model][QX] the record ... [model-without-kpsid]"
    std::string text() const;
    // [{"severity", "code", "location", "message", "file", "line", "keyPath"}, ...]
    nlohmann::ordered_json json() const;

    // Where a value lies in a property list: keyPath("/d/CDInfo.plist", {"ContainedModel", "QX"})
    // → "/d/CDInfo.plist[ContainedModel][QX]".
    static std::string keyPath(const std::string& file, const std::vector<std::string>& keys);

private:
    std::vector<Finding> findings_;
};

}
