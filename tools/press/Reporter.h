#pragma once

#include "inspect/common/Findings.h"
#include "inspect/common/FindingsOutput.h"

#include <string>
#include <vector>

namespace docshelf::press {

// How the check's findings are shown, with the inspector's options and forms.
struct FindingsChoice {
    inspect::OutputFormat format = inspect::OutputFormat::Text; // --format text|json|sarif|github
    bool strict = false;                                        // --strict: warnings fail too
    std::vector<std::string> ignored;                           // --ignore CODE
};

// What the press tells its user: progress only when standard error is a
// terminal, warnings and failures always, one line each on standard error; the
// check's findings on standard output in the chosen form, as the inspector
// prints them.
class Reporter {
public:
    explicit Reporter(bool showProgress, FindingsChoice choice = {});

    void progress(const std::string& line) const;
    void warning(const std::string& line) const;
    void error(const std::string& line) const;
    // The findings of one check, less the ignored codes. Text and GitHub lines
    // are printed at once; a JSON or SARIF document holds every check of the
    // run and is printed by finish().
    void findings(inspect::Findings found) const;
    // Prints what is held back and the count of findings (where there is
    // one, or on a terminal); the exit status as
    // the inspector's check gives it: 1 with an error, or with --strict a
    // warning (the press's own warnings included), else 0.
    int finish() const;

private:
    bool showProgress_;
    FindingsChoice choice_;
    // A run reports through a const reporter; what it has said is counted here.
    mutable inspect::Findings reported_;
    mutable std::size_t ownWarnings_ = 0;
    mutable bool checked_ = false;
};

}
