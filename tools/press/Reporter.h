#pragma once

#include <string>

namespace docshelf::press {

// What the press tells its user, all on standard error: progress only when
// that is a terminal, warnings and failures always, one line each.
class Reporter {
public:
    explicit Reporter(bool showProgress);

    void progress(const std::string& line) const;
    void warning(const std::string& line) const;
    void error(const std::string& line) const;
    // A finding of the check, as the inspector words it.
    void finding(const std::string& line) const;

private:
    bool showProgress_;
};

}
