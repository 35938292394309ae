#include "inspect/common/Findings.h"

#include "inspect/common/Wording.h"
#include "inspect/common/XmlKeyLine.h"

#include "platform/foundation/VolumeMap.h"

#include <algorithm>
#include <filesystem>

namespace docshelf::inspect {

namespace {

// "/d/CDInfo.plist[Documentation][Path]" → file "/d/CDInfo.plist", key path
// "[Documentation][Path]" and the line of that key in an XML list;
// "/d/inst.ini:4" → file "/d/inst.ini", line 4. A file name may hold brackets
// itself: the key path starts at the first bracket after an existing file.
void placeOf(Finding& finding) {
    const std::string& location = finding.location;
    finding.file = location;
    for (auto open = location.find('['); open != std::string::npos; open = location.find('[', open + 1)) {
        std::error_code error;
        if (location.back() == ']' && std::filesystem::is_regular_file(location.substr(0, open), error)) {
            finding.file = location.substr(0, open);
            finding.keyPath = location.substr(open);
            break;
        }
    }
    if (!finding.keyPath.empty()) {
        std::vector<std::string> keys;
        std::string_view rest(finding.keyPath);
        while (rest.starts_with('[')) {
            auto close = rest.find("][");
            std::size_t end = close == std::string_view::npos ? rest.size() - 1 : close;
            keys.emplace_back(rest.substr(1, end - 1));
            rest.remove_prefix(end + 1);
        }
        if (finding.file.ends_with(".plist"))
            finding.line = XmlKeyLine::find(finding.file, keys);
        return;
    }
    auto colon = location.rfind(':');
    if (colon != std::string::npos && colon + 1 < location.size() &&
        location.find_first_not_of("0123456789", colon + 1) == std::string::npos && location.size() - colon < 10) {
        finding.file = location.substr(0, colon);
        finding.line = std::stoul(location.substr(colon + 1));
    }
}

}

void Findings::error(std::string code, std::string location, std::string message) {
    add(Severity::Error, std::move(code), std::move(location), std::move(message));
}

void Findings::warning(std::string code, std::string location, std::string message) {
    add(Severity::Warning, std::move(code), std::move(location), std::move(message));
}

void Findings::note(std::string code, std::string location, std::string message) {
    add(Severity::Note, std::move(code), std::move(location), std::move(message));
}

void Findings::add(Severity severity, std::string code, std::string location, std::string message) {
    // A file named as the lists write it is reported where it was read, so
    // that an editor opens the very file.
    Finding finding{severity, std::move(code), foundation::VolumeMap::whereToRead(location), std::move(message), {}, 0,
                    {}};
    placeOf(finding);
    findings_.push_back(std::move(finding));
}

void Findings::add(Finding finding) {
    findings_.push_back(std::move(finding));
}

void Findings::ignore(const std::vector<std::string>& codes) {
    std::erase_if(findings_,
                  [&](const Finding& f) { return std::find(codes.begin(), codes.end(), f.code) != codes.end(); });
}

bool Findings::hasErrors() const {
    return count(Severity::Error) > 0;
}

std::size_t Findings::count(Severity severity) const {
    return static_cast<std::size_t>(
        std::count_if(findings_.begin(), findings_.end(), [&](const Finding& f) { return f.severity == severity; }));
}

std::string Findings::text() const {
    std::string out;
    for (const Finding& f : findings_)
        out += oneLine(f.file) + (f.line > 0 ? ":" + std::to_string(f.line) : "") + ": " + severityName(f.severity) +
               ": " + (f.keyPath.empty() ? "" : oneLine(f.keyPath) + " ") + oneLine(f.message) + " [" + f.code + "]\n";
    return out;
}

nlohmann::ordered_json Findings::json() const {
    auto array = nlohmann::ordered_json::array();
    for (const Finding& f : findings_)
        array.push_back(
            {{"severity", severityName(f.severity)},
             {"code", f.code},
             {"location", f.location},
             {"message", f.message},
             {"file", f.file},
             {"line", f.line > 0 ? nlohmann::ordered_json(f.line) : nlohmann::ordered_json()},
             {"keyPath", f.keyPath.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(f.keyPath)}});
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
