#pragma once

#include "inspect/common/Findings.h"

#include <string>

namespace docshelf::inspect {

enum class OutputFormat { Text, Json, Sarif, Github };

// The findings as each kind of reader takes them: text lines for people and
// editors, JSON for scripts, SARIF 2.1.0 for code-scanning services, GitHub
// workflow commands for annotations on the changed files.
class FindingsOutput {
public:
    static std::string write(const Findings& findings, OutputFormat format, const std::string& version);
    static nlohmann::ordered_json sarif(const Findings& findings, const std::string& version);
    // "::error file=F,line=L,title=CODE::message", one line each.
    static std::string github(const Findings& findings);
};

}
