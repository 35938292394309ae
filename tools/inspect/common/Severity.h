#pragma once

namespace docshelf::inspect {

// How much a finding matters: an error breaks what the disc's user sees, a
// warning may, a note only says what the check assumed.
enum class Severity { Error, Warning, Note };

// "error", "warning", "note": as compilers write it, and as JSON carries it.
constexpr const char* severityName(Severity severity) {
    switch (severity) {
    case Severity::Error:
        return "error";
    case Severity::Warning:
        return "warning";
    case Severity::Note:
        return "note";
    }
    return "note";
}

}
