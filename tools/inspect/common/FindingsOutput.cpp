#include "inspect/common/FindingsOutput.h"

#include "inspect/common/Codes.h"
#include "window/session/JsonExport.h"

#include <filesystem>
#include <map>

namespace docshelf::inspect {

namespace {

// A file as an absolute "file://" URI, the one kind of URI in the log: the
// path made absolute (without resolving links) and every byte outside the
// unreserved characters and "/" percent-encoded.
std::string fileUri(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    std::string full = error ? path : absolute.lexically_normal().string();
    if (!full.starts_with('/'))
        full = "/" + full;
    std::string out = "file://";
    for (char byte : full) {
        auto c = static_cast<unsigned char>(byte);
        if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~')
            out += static_cast<char>(c);
        else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

// GitHub's escaping: a message may not hold %, CR or LF; a property value
// neither ":" nor ",", or a name on the disc could end it and start another.
// The text is first made one line as the text form makes it, so that no
// terminal control or line separator reaches the log raw either.
std::string githubData(const std::string& text) {
    std::string out;
    for (char c : Findings::oneLine(text)) {
        if (c == '%')
            out += "%25";
        else if (c == '\r')
            out += "%0D";
        else if (c == '\n')
            out += "%0A";
        else
            out += c;
    }
    return out;
}

std::string githubProperty(const std::string& text) {
    std::string out;
    for (char c : githubData(text)) {
        if (c == ':')
            out += "%3A";
        else if (c == ',')
            out += "%2C";
        else
            out += c;
    }
    return out;
}

std::string messageOf(const Finding& f) {
    return f.keys.empty() ? f.message : f.keyPath() + " " + f.message;
}

// SARIF's word for a severity: "error", "warning", "note".
const char* sarifLevel(Severity severity) {
    return severityName(severity);
}

}

nlohmann::ordered_json FindingsOutput::sarif(const Findings& findings, const std::string& version) {
    using json = nlohmann::ordered_json;
    auto rules = json::array();
    std::map<std::string, std::size_t> ruleIndex;
    for (const auto& code : Codes::all()) {
        ruleIndex[std::string(code.code)] = rules.size();
        rules.push_back({{"id", code.code},
                         {"shortDescription", {{"text", code.meaning}}},
                         {"fullDescription", {{"text", std::string(code.meaning) + " " + std::string(code.seen)}}},
                         {"help", {{"text", code.fix}}},
                         {"defaultConfiguration", {{"level", sarifLevel(code.severity)}}}});
    }
    auto results = json::array();
    for (const Finding& f : findings.all()) {
        json physical{{"artifactLocation", {{"uri", fileUri(f.file)}}}};
        if (f.line > 0) {
            physical["region"] = {{"startLine", f.line}};
            if (f.column > 0)
                physical["region"]["startColumn"] = f.column;
        }
        json result{{"ruleId", f.code}};
        if (auto at = ruleIndex.find(f.code); at != ruleIndex.end())
            result["ruleIndex"] = at->second;
        result["level"] = sarifLevel(f.severity);
        result["message"] = {{"text", messageOf(f)}};
        result["locations"] = json::array({{{"physicalLocation", physical}}});
        results.push_back(std::move(result));
    }
    return {{"$schema", "https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/sarif-schema-2.1.0.json"},
            {"version", "2.1.0"},
            {"runs",
             json::array(
                 {{{"tool",
                    {{"driver", {{"name", "docshelf-inspect"}, {"version", version}, {"rules", std::move(rules)}}}}},
                   {"results", std::move(results)}}})}};
}

std::string FindingsOutput::github(const Findings& findings) {
    std::string out;
    for (const Finding& f : findings.all()) {
        const char* command = f.severity == Severity::Error     ? "error"
                              : f.severity == Severity::Warning ? "warning"
                                                                : "notice";
        out += std::string("::") + command + " file=" + githubProperty(f.file) +
               (f.line > 0 ? ",line=" + std::to_string(f.line) : "") +
               (f.line > 0 && f.column > 0 ? ",col=" + std::to_string(f.column) : "") +
               ",title=" + githubProperty(f.code) + "::" + githubData(messageOf(f)) + "\n";
    }
    return out;
}

std::string FindingsOutput::write(const Findings& findings, OutputFormat format, const std::string& version) {
    switch (format) {
    case OutputFormat::Json:
        return render(findings.json());
    case OutputFormat::Sarif:
        return render(sarif(findings, version));
    case OutputFormat::Github:
        return github(findings);
    case OutputFormat::Text:
        break;
    }
    return findings.text();
}

}
