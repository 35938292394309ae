#pragma once

#include "inspect/common/Codes.h"
#include "inspect/common/Severity.h"
#include "disc/KeyPlaces.h"

#include "platform/foundation/Result.h"

#include <nlohmann/json.hpp>

#include <map>
#include <string>
#include <vector>

namespace docshelf::inspect {

// Where a finding lies, in parts that are never taken from one text: a file or
// folder as the lists write it, the key path of a value in a property list, and
// a line (and column) where the reader knows one. A folder named "Deutsh:12" is
// that folder, without a line.
struct Place {
    std::string file;
    std::vector<std::string> keys;
    std::size_t line = 0;
    std::size_t column = 0;

    Place() = default;
    Place(std::string path) : file(std::move(path)) {}
    Place(const char* path) : file(path) {}
    // A value's origin as the disc's reader gives it.
    Place(const foundation::Position& position)
        : file(position.file), keys(position.keyPath), line(position.line), column(position.column) {}
    static Place atLine(std::string path, std::size_t line, std::size_t column = 0);
};

// One thing that the check found on a disc.
struct Finding {
    Severity severity;
    std::string code; // a stable word such as "model-without-kpsid"
    std::string message;
    // The file where it was read, its line (0 when unknown; in an XML property
    // list the line of the key) and column (0 when unknown), and the key path.
    std::string file;
    std::size_t line = 0;
    std::size_t column = 0;
    std::vector<std::string> keys;

    // "[Model][RT-20]", empty without keys.
    std::string keyPath() const;
    // The file with its key path or line: "/d/ModelInfo.plist[Model][RT-20]", "/d/inst.ini:4".
    std::string location() const;
};

// The findings of one check, in the order they were found. An XML property
// list is read once for the lines of all the findings in it.
class Findings {
public:
    void error(CodeName code, Place place, std::string message);
    void warning(CodeName code, Place place, std::string message);
    void note(CodeName code, Place place, std::string message);
    // With the code's own severity, or the lower one the list allows it.
    void add(CodeName code, Place place, std::string message);
    void add(Severity severity, CodeName code, Place place, std::string message);
    // A finding made elsewhere (another check's, placed anew by its caller), as
    // it is; its code must be one of the list's, with a severity the list allows.
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
    // [{"severity", "code", "location", "message", "file", "line", "column", "keyPath"}, ...]
    nlohmann::ordered_json json() const;

    // Where a value lies in a property list: keyPath("/d/CDInfo.plist", {"ContainedModel", "QX"}),
    // or deeper below a place that already has keys.
    static Place keyPath(const Place& place, const std::vector<std::string>& keys);

    // Names on a disc may hold line breaks and terminal controls; each finding
    // stays on one line and sends no control to the terminal. "a\nb" → "a\\nb",
    // ESC → "\\x1B", U+0085 → "\\u0085", U+2028 → "\\u2028", a byte that is not
    // UTF-8 → "\\xFF".
    static std::string oneLine(const std::string& text);

private:
    std::vector<Finding> findings_;
    std::map<std::string, disc::KeyPlaces> lines_; // by file where it was read
};

}
