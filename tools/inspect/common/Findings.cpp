#include "inspect/common/Findings.h"

#include "inspect/common/Wording.h"

#include <algorithm>

namespace docshelf::inspect {

void Findings::error(std::string code, std::string location, std::string message) {
    findings_.push_back({Severity::Error, std::move(code), std::move(location), std::move(message)});
}

void Findings::warning(std::string code, std::string location, std::string message) {
    findings_.push_back({Severity::Warning, std::move(code), std::move(location), std::move(message)});
}

void Findings::note(std::string code, std::string location, std::string message) {
    findings_.push_back({Severity::Note, std::move(code), std::move(location), std::move(message)});
}

bool Findings::hasErrors() const {
    return count(Severity::Error) > 0;
}

std::size_t Findings::count(Severity severity) const {
    return static_cast<std::size_t>(
        std::count_if(findings_.begin(), findings_.end(), [&](const Finding& f) { return f.severity == severity; }));
}

namespace {

// Names on a disc may hold line breaks; each finding stays on one line.
// "a\nb" → "a\\nb".
std::string oneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

}

std::string Findings::text() const {
    std::string out;
    for (const Finding& f : findings_)
        out += std::string(severityName(f.severity)) + " " + f.code + " " + oneLine(f.location) + ": " +
               oneLine(f.message) + "\n";
    return out;
}

nlohmann::ordered_json Findings::json() const {
    auto array = nlohmann::ordered_json::array();
    for (const Finding& f : findings_)
        array.push_back({{"severity", severityName(f.severity)},
                         {"code", f.code},
                         {"location", f.location},
                         {"message", f.message}});
    return array;
}

std::string Findings::keyPath(const std::string& file, const std::vector<std::string>& keys) {
    std::string out = file;
    for (const auto& key : keys)
        out += "[" + key + "]";
    return out;
}

std::string Findings::summary() const {
    return counted(count(Severity::Error), "error") + ", " + counted(count(Severity::Warning), "warning") + ", " +
           counted(count(Severity::Note), "note");
}

}
